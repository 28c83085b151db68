#pragma once

#include "widgets/Seams.h"

class QWidget;

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

// Qt's own file dialog (the desktop's behaves differently from desktop to desktop), in the
// requested folder, else the home folder; it writes no QtProject.conf. A folder row chooses a
// folder, titled with the row's hint, and answers the hint inside it.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<std::string> ChooseFile(ParentWindow parent,
                                          const FileChoiceRequest& request) override;
};

// A short list of the candidates, each with where it was found.
class QtFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(ParentWindow parent, const std::string& question,
                                          const std::vector<std::string>& lines) override;
};

// Several files, ZIP archives offered first, from the given folder, else Downloads or the home.
class QtPackageFileChooser final : public PackageFileChooser {
  public:
    std::vector<std::string> ChoosePackageFiles(ParentWindow parent,
                                                const std::string& startFolder) override;
};

// A question with the buttons "Keep both" and "Skip".
class QtSameNameQuestion final : public SameNameQuestion {
  public:
    bool AskKeepBoth(ParentWindow parent, const std::string& question) override;
};

// The shell's "open" of `file` in `directory`: a failure known at once, or one the launch's watch
// learns of later on the window's event loop, gets the "Error" box over `parent`. True when the
// start did not fail at once.
bool OpenAndFollow(Launcher& launcher, MessageBoxes& messages, QWidget* parent,
                   const std::string& file, const std::string& directory);

}  // namespace wendmoor
