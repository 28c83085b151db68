#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "finder/FinderPlaces.h"
#include "ui/Seams.h"

namespace wendmoor {

struct FoundFolder;

// The modal pieces of finding the games and adding packages, reached like those of Seams.h.

// Several folders were found for one row of the options dialog: the player picks one.
class FolderPicker {
  public:
    virtual ~FolderPicker() = default;
    // The index of the chosen candidate; nothing when the player chose none. `question` and
    // `lines` are what the chooser shows (FolderPickerTexts).
    virtual std::optional<std::size_t> PickFolder(ParentWindow parent, const std::string& question,
                                                  const std::vector<std::string>& lines) = 0;
};

// "Add packages...": the files the player chose, several at once, opening in `startFolder`;
// none when cancelled.
class PackageFileChooser {
  public:
    virtual ~PackageFileChooser() = default;
    virtual std::vector<std::string> ChoosePackageFiles(ParentWindow parent,
                                                        const std::string& startFolder) = 0;
};

// A file of the same name with other bytes is in the missions folder already: true keeps both,
// the new one under the name the question gives; false skips the new one.
class SameNameQuestion {
  public:
    virtual ~SameNameQuestion() = default;
    virtual bool AskKeepBoth(ParentWindow parent, const std::string& question) = 0;
};

// What the window needs to find the games and add packages. `places` is where the finder
// looks: the real home in the program, a fake one in the tests.
struct FinderServices {
    FinderPlaces places;
    FolderPicker& folders;
    PackageFileChooser& packageFiles;
    SameNameQuestion& sameName;
};

}  // namespace wendmoor
