#pragma once

#include <QString>

#include "widgets/Seams.h"

namespace wendmoor {

// The real program's answers to the seams.

class QtDialogRunner final : public DialogRunner {
  public:
    int Run(QDialog& dialog) override;
};

class QtMessageBoxes final : public MessageBoxes {
  public:
    void ShowInformation(ParentWindow parent, const std::string& caption, const std::string& text,
                         const std::string& details) override;
    void ShowWarning(ParentWindow parent, const std::string& caption,
                     const std::string& text) override;
    bool AskYesNo(ParentWindow parent, const std::string& caption,
                  const std::string& text) override;
};

// Qt's own file dialog (not the desktop's, whose behaviour varies), opening in the requested
// folder, else the user's home folder. Its history lives in memory only: no QtProject.conf is
// written. A program row shows only files named like the program, in any letter case; whether
// the chosen one exists is the caller's to check, in any letter case too. A folder row chooses
// a folder, titled with the row's hint, and answers the hint inside it, which is what a Windows
// user accepting the hint in that folder got.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<std::string> ChooseFile(ParentWindow parent,
                                          const FileChoiceRequest& request) override;
};

// A wildcard that matches the name in any letter case: "Zeus.exe" ->
// "[Zz][Ee][Uu][Ss].[Ee][Xx][Ee]". Wildcard characters of the name itself are kept literal.
QString CaseInsensitiveWildcard(const QString& name);

}  // namespace wendmoor
