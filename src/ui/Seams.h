#pragma once

#include <optional>
#include <string>

namespace wendmoor {

class Launcher;
struct FinderServices;

// The windows reach every modal piece of their toolkit through these small interfaces, so the
// rules run headless in the tests with each question pre-answered. Texts are UTF-8; paths are
// the bytes the system uses. A window hands itself in as an opaque parent, so the same seams
// serve any toolkit.
struct ParentWindow {
    void* handle = nullptr;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // An information box with one "OK" button; `text` is plain text. `details`, when not
    // empty, stands behind a button of its own.
    virtual void ShowInformation(ParentWindow parent, const std::string& caption,
                                 const std::string& text, const std::string& details) = 0;
    // The same with the warning icon: something the player asked for was not done.
    virtual void ShowWarning(ParentWindow parent, const std::string& caption,
                             const std::string& text) = 0;
    // A question answered "Yes" or "No"; "No" is the default and what Escape answers.
    virtual bool AskYesNo(ParentWindow parent, const std::string& caption,
                          const std::string& text) = 0;
};

// What the options dialog asks of a file chooser.
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
    // The full path of the chosen file, or nothing when the user cancelled. Without a
    // pattern, a chooser may let the user pick a folder; it then answers the initial text
    // inside that folder, as if accepted there.
    virtual std::optional<std::string> ChooseFile(ParentWindow parent,
                                                  const FileChoiceRequest& request) = 0;
};

}  // namespace wendmoor
