#pragma once

#include "ui/FinderSeams.h"

namespace wendmoor {

// The real program's answers to the finder's seams.

// A short list of the candidates, each with where it was found.
class QtFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(ParentWindow parent, const std::string& question,
                                          const std::vector<std::string>& lines) override;
};

// Qt's own file dialog for several existing files, ZIP archives offered first, opening in the
// given folder, else the Downloads folder (the home when there is none), where downloaded
// packages usually lie.
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

}  // namespace wendmoor
