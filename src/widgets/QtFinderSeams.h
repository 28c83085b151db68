#pragma once

#include "widgets/FinderSeams.h"

namespace wendmoor {

// The real program's answers to the seams of FinderSeams.h.

// A short list of the candidates, each with where it was found.
class QtFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(QWidget* parent, const QString& row,
                                          const std::vector<FoundFolder>& candidates) override;
};

// Qt's own file dialog for several existing files, ZIP archives offered first, opening in the
// Downloads folder (the home when there is none), where downloaded packages usually lie.
class QtPackageFileChooser final : public PackageFileChooser {
  public:
    std::vector<std::string> ChoosePackageFiles(QWidget* parent) override;
};

// A question with the buttons "Keep both" and "Skip".
class QtSameNameQuestion final : public SameNameQuestion {
  public:
    bool AskKeepBoth(QWidget* parent, const std::string& existingName,
                     const std::string& keptName) override;
};

}  // namespace wendmoor
