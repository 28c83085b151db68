#include "ui/PackageAdding.h"

#include <cctype>

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
        // Nothing to copy is no failure, but the player who chose the file hears where it is.
        if (result.done == AddResult::Done::AlreadyThere) {
            notAdded.push_back(AlreadyThereLine(file, result.name));
        }
    }
    if (!notAdded.empty()) report.message = NotAddedText(notAdded);
    return report;
}

std::vector<std::string> LocalFilesOfUrls(const std::vector<std::string>& urls) {
    std::vector<std::string> files;
    for (const std::string& url : urls) {
        if (url.rfind("file://", 0) != 0) continue;
        const std::size_t pathStart = url.find('/', 7);
        const std::string host = url.substr(7, pathStart - 7);
        if (pathStart == std::string::npos || (!host.empty() && host != "localhost")) continue;
        std::string path;
        for (std::size_t i = pathStart; i < url.size(); ++i) {
            if (url[i] == '%' && i + 2 < url.size() &&
                std::isxdigit(static_cast<unsigned char>(url[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(url[i + 2]))) {
                path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                path += url[i];
            }
        }
        files.push_back(path);
    }
    return files;
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
