#include "ui/PackageAdding.h"

#include "ui/WindowTexts.h"

namespace wendmoor {

AddReport AddPackages(FileSystem& fileSystem, const GameDescription& game, const GamePaths& paths,
                      const std::vector<std::string>& files, const KeepBothQuestion& keepBoth,
                      const std::function<void(const std::string&)>& adding) {
    AddReport report;
    std::vector<std::string> notAdded;
    for (const std::string& file : files) {
        if (adding) adding(file);
        const AddResult result = AddPackageFile(fileSystem, game, paths, file, keepBoth);
        switch (result.outcome) {
            case AddResult::Outcome::Added:
                report.added = true;
                break;
            case AddResult::Outcome::AlreadyThere:
            case AddResult::Outcome::Skipped:
                break;
            case AddResult::Outcome::Refused:
            case AddResult::Outcome::Failed:
                notAdded.push_back(result.name + ": " + result.reason);
                break;
        }
    }
    if (!notAdded.empty()) report.message = NotAddedText(notAdded);
    return report;
}

}  // namespace wendmoor
