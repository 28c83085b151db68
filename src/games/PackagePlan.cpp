#include "games/PackagePlan.h"

#include <map>

#include "platform/Path.h"

namespace wendmoor {

std::string PackagePlan::MakeFolder(const std::string& parent, const std::string& name) {
    // An empty name means the parent itself: files go there, but the parent is never created.
    if (name.empty()) return parent;
    if (!IsSafeFileName(name)) return {};
    steps_.push_back({Step::Kind::MakeFolder, {}, parent + name, false, {}, {}});
    madeFolders_.push_back(parent + name + kPathSeparator);
    return madeFolders_.back();
}

void PackagePlan::RemoveFolder(const std::string& parent, const std::string& name) {
    // Only a folder of the package's own goes, never the parent it was made in.
    if (name.empty() || !IsSafeFileName(name)) return;
    steps_.push_back({Step::Kind::RemoveFolder, {}, parent + name, false, {}, {}});
}

void PackagePlan::File(const std::string& folder, const std::string& name, bool counted) {
    if (folder.empty() || !IsSafeFileName(name)) return;
    std::string packageFolder;
    for (const std::string& made : madeFolders_) {
        if (made == folder) packageFolder = made.substr(0, made.size() - 1);
    }
    steps_.push_back(
        {Step::Kind::File, name, folder + name, counted, std::move(packageFolder), {}});
}

void PackagePlan::UseEarlierSpellings(const EarlierSpellings& spellings) {
    if (spellings.empty()) return;
    // A package folder is named by the start of one entry's name (an adventure's ".pak", a
    // campaign's ".set"), and an earlier version named it by the same start of that entry's
    // bytes: what is left of the two names after it is the same.
    std::map<std::string, std::string> earlierFolders;
    for (Step& step : steps_) {
        if (step.kind == Step::Kind::File) continue;
        const std::string name = FileNameOf(step.target);
        for (const auto& [stored, before] : spellings) {
            const std::size_t rest = stored.size() - name.size();
            if (stored.size() <= name.size() || !stored.starts_with(name) ||
                before.size() <= rest || !before.ends_with(stored.substr(name.size()))) {
                continue;
            }
            const std::string earlierName = before.substr(0, before.size() - rest);
            if (!IsSafeFileName(earlierName)) break;
            step.earlierTarget = FolderOf(step.target) + earlierName;
            earlierFolders[step.target + kPathSeparator] = step.earlierTarget + kPathSeparator;
            break;
        }
    }
    const std::map<std::string, std::string> earlier(spellings.begin(), spellings.end());
    for (Step& step : steps_) {
        if (step.kind != Step::Kind::File) continue;
        const auto name = earlier.find(step.entry);
        const auto folder = earlierFolders.find(FolderOf(step.target));
        if (name == earlier.end() && folder == earlierFolders.end()) continue;
        step.earlierTarget =
            (folder == earlierFolders.end() ? FolderOf(step.target) : folder->second) +
            (name == earlier.end() ? step.entry : name->second);
    }
}

}  // namespace wendmoor
