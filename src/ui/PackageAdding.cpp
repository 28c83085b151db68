#include "ui/PackageAdding.h"

#include "ui/BackgroundTask.h"
#include "ui/MainWindowState.h"
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

AddingRun::AddingRun(MainWindowState& state, const GameDescription& game,
                     std::vector<std::string> files, SameNameQuestion& sameName,
                     ParentWindow parent)
    : state_(state), game_(game), files_(std::move(files)), sameName_(sameName), parent_(parent) {}

void AddingRun::Work(BackgroundTask& task) {
    report_ = AddPackages(
        state_.Files(), game_, state_.Paths(), files_,
        [&](const std::string& existing, const std::string& kept) {
            return task.AskOnWindowThread([&] {
                return sameName_.AskKeepBoth(parent_, SameNameQuestionText(existing, kept));
            });
        },
        [this](const std::string& file) {
            const std::lock_guard lock(mutex_);
            current_ = file;
        });
}

ProgressView AddingRun::Progress() const {
    const std::lock_guard lock(mutex_);
    return ProgressView{AddingText(current_), 0};
}

}  // namespace wendmoor
