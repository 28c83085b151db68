#pragma once

#include <QString>

#include "widgets/Seams.h"

namespace wendmoor {

// The real program's answers to the seams of Seams.h.

class QtDialogRunner final : public DialogRunner {
  public:
    int Run(QDialog& dialog) override;
};

class QtMessageBoxes final : public MessageBoxes {
  public:
    void ShowInformation(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowInformationWithDetails(QWidget* parent, const QString& caption,
                                    const QString& richText, const QString& details) override;
};

// Qt's own file dialog (not the desktop's, whose behaviour varies), opening in the requested
// folder, else the user's home folder. Its history lives in memory only: no QtProject.conf is
// written. A program row shows only files named like the
// program, in any letter case, and takes only an existing file. A folder row chooses a folder,
// titled with the row's hint, and answers the hint inside it, which is what a Windows user
// accepting the hint in that folder got.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<std::string> ChooseFile(QWidget* parent,
                                          const FileChoiceRequest& request) override;
};

// A wildcard that matches the name in any letter case: "Zeus.exe" ->
// "[Zz][Ee][Uu][Ss].[Ee][Xx][Ee]". Wildcard characters of the name itself are kept literal.
QString CaseInsensitiveWildcard(const QString& name);

}  // namespace wendmoor
