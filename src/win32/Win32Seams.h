#pragma once

#include "ui/FinderSeams.h"
#include "ui/Seams.h"
#include "win32/Win32Api.h"

namespace wendmoor {

class Launcher;

// The window's own parent handle and back.
inline ParentWindow ParentOf(HWND window) {
    return ParentWindow{window};
}
inline HWND WindowOf(ParentWindow parent) {
    return static_cast<HWND>(parent.handle);
}

// The real program's answers to the seams, with the system's own boxes and choosers.

// Task dialogs: the "Error" box's details stand behind the dialog's own expander.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    void ShowInformation(ParentWindow parent, const std::string& caption, const std::string& text,
                         const std::string& details) override;
    void ShowWarning(ParentWindow parent, const std::string& caption,
                     const std::string& text) override;
    bool AskYesNo(ParentWindow parent, const std::string& caption,
                  const std::string& text) override;
};

// The system's open dialog. A program row offers its one pattern and wants an existing file; a
// folder row lets the player browse into a folder and accept the hint standing in the name box.
class Win32FileChooser final : public FileChooser {
  public:
    std::optional<std::string> ChooseFile(ParentWindow parent,
                                          const FileChoiceRequest& request) override;
};

// The open dialog for several existing files, ZIP archives offered first, opening in the given
// folder, else the Downloads folder.
class Win32PackageFileChooser final : public PackageFileChooser {
  public:
    std::vector<std::string> ChoosePackageFiles(ParentWindow parent,
                                                const std::string& startFolder) override;
};

// A task dialog with the buttons "Keep both" and "Skip".
class Win32SameNameQuestion final : public SameNameQuestion {
  public:
    bool AskKeepBoth(ParentWindow parent, const std::string& question) override;
};

// A short list of the candidates, each with where it was found.
class Win32FolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(ParentWindow parent, const std::string& question,
                                          const std::vector<std::string>& lines) override;
};

// Everything the Win32 window needs of the modal pieces and of the shell; the objects belong to
// the caller and outlive the window. Without `finder` the window neither finds games nor adds
// packages.
struct Win32Services {
    MessageBoxes& messages;
    FileChooser& files;
    Launcher& launcher;
    FinderServices* finder = nullptr;
};

}  // namespace wendmoor
