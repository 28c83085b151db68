#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "finder/FinderPlaces.h"

class QString;
class QWidget;

namespace wendmoor {

struct FoundFolder;

// The modal pieces of finding the games and adding packages, reached like those of Seams.h so
// the tests pre-answer them; the real program fills them with QtFinderSeams.h.

// Several folders were found for one row of the options dialog: the player picks one.
class FolderPicker {
  public:
    virtual ~FolderPicker() = default;
    // The index of the chosen candidate; nothing when the player chose none.
    virtual std::optional<std::size_t> PickFolder(QWidget* parent, const QString& row,
                                                  const std::vector<FoundFolder>& candidates) = 0;
};

// "Add packages...": the files the player chose, several at once; none when cancelled.
class PackageFileChooser {
  public:
    virtual ~PackageFileChooser() = default;
    virtual std::vector<std::string> ChoosePackageFiles(QWidget* parent) = 0;
};

// A file of the same name with other bytes is in the missions folder already: true keeps both,
// the new one as `keptName`; false skips the new one.
class SameNameQuestion {
  public:
    virtual ~SameNameQuestion() = default;
    virtual bool AskKeepBoth(QWidget* parent, const std::string& existingName,
                             const std::string& keptName) = 0;
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
