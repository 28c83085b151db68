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
        report.added = report.added || result.done == AddResult::Done::Copied;
        for (const std::string& line : result.outcome.Lines()) notAdded.push_back(line);
    }
    if (!notAdded.empty()) report.message = NotAddedText(notAdded);
    return report;
}

}  // namespace wendmoor
