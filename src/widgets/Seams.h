#pragma once

#include <optional>
#include <string>

class QDialog;
class QString;
class QWidget;

namespace wendmoor {

class Launcher;
struct FinderServices;

// The window reaches every modal piece of the platform through these small interfaces, so
// the tests run the whole window headless and pre-answer each question. The real program
// fills them with the Qt implementations of QtSeams.h.

// Runs a modal sub-dialog (the About box, the options dialog) and answers how it ended:
// QDialog::Accepted or QDialog::Rejected. A stand-in may work the dialog's controls and must
// end it through accept() or reject(), so that the dialog's own OK and Cancel logic runs.
class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    virtual int Run(QDialog& dialog) = 0;
};

// The one kind of message box the window shows: an information icon and one "OK" button.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // `text` is plain text.
    virtual void ShowInformation(QWidget* parent, const QString& caption, const QString& text) = 0;
    // `richText` is rich text (see PathText.h); `details`, plain text, stands behind the box's
    // "Show Details..." button, which an empty text leaves out.
    virtual void ShowInformationWithDetails(QWidget* parent, const QString& caption,
                                            const QString& richText, const QString& details) = 0;
};

// What the options dialog asks of a file chooser (BrowseForFile).
struct FileChoiceRequest {
    // Stands in the file-name box when the chooser opens ("Zeus.exe",
    // "locate Zeus Save folder").
    std::string initialText;
    // The single file pattern offered, matched without regard to letter case; empty when
    // no file types are offered.
    std::string pattern;
    // True: only an existing file can be chosen. The folder must exist in any case.
    bool fileMustExist = false;
    // An existing folder to open in (bytes, with its trailing separator); empty: the user's
    // home folder.
    std::string initialFolder;
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The full path of the chosen file (bytes of the platform's narrow encoding), or
    // nothing when the user cancelled. Without a pattern, a chooser may let the user pick a
    // folder; it then answers the initial text inside that folder, as if accepted there.
    virtual std::optional<std::string> ChooseFile(QWidget* parent,
                                                  const FileChoiceRequest& request) = 0;
};

// Everything the window needs of the platform's modal pieces and of the shell. The objects
// belong to the caller and outlive the window.
struct GuiServices {
    DialogRunner& dialogs;
    MessageBoxes& messages;
    FileChooser& files;
    Launcher& launcher;
    // Finding the games and adding packages (FinderSeams.h). Without it the window does
    // neither, so no test walks the real home by accident.
    FinderServices* finder = nullptr;
};

}  // namespace wendmoor
