#ifndef _WIN32

#include "platform/LauncherDesktop.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

bool IsWindowsProgram(const std::string& path) {
    const std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    return dot != std::string::npos && AsciiLower(name.substr(dot)) == ".exe";
}

// A bare file name is looked for in the folder, as the shell does.
std::string FileInFolder(const std::string& file, const std::string& directory) {
    if (directory.empty() || (!file.empty() && file.front() == kPathSeparator)) return file;
    if (directory.back() == kPathSeparator) return directory + file;
    return directory + kPathSeparator + file;
}

std::string ExplainWineExit(int exitStatus) {
    return "wine could not run the program (exit status " + std::to_string(exitStatus) + ").\n";
}

// The exit statuses xdg-open documents.
std::string ExplainOpenerExit(int exitStatus) {
    switch (exitStatus) {
        case 2:
            return SystemErrorText(ENOENT);
        case 3:
            return "A program the desktop needs to open the document is missing.\n";
        case 4:
            return "No application could open the document.\n";
        default:
            return "xdg-open ended with exit status " + std::to_string(exitStatus) + ".\n";
    }
}

class DesktopLauncher final : public Launcher {
  public:
    DesktopLauncher(ProcessStarter starter, std::chrono::milliseconds programWatchTime)
        : starter_(std::move(starter)), programWatchTime_(programWatchTime) {}

    Launch Open(const std::string& file, const std::string& directory) override {
        // A fresh look at the folders each time: the user may have changed them meanwhile.
        const FileSystem fileSystem;
        const std::string target = fileSystem.Resolve(FileInFolder(file, directory));
        struct stat info;
        if (::stat(target.c_str(), &info) != 0) return Failed(SystemErrorText(errno));

        ProcessRequest request;
        request.workingDirectory = fileSystem.Resolve(directory);
        if (IsWindowsProgram(target)) {
            request.program = FindProgramOnPath("wine");
            if (request.program.empty())
                return Failed("wine, which runs Windows programs, was not found on the PATH.\n");
            request.arguments = {"wine", target};
            request.watchTime = programWatchTime_;
            request.explainExit = ExplainWineExit;
        } else {
            request.program = FindProgramOnPath("xdg-open");
            if (request.program.empty())
                return Failed(
                    "xdg-open, which opens documents with the desktop's default application, "
                    "was not found on the PATH.\n");
            request.arguments = {"xdg-open", target};
            request.watchTime = kWatchToTheEnd;
            request.explainExit = ExplainOpenerExit;
        }
        return starter_(request);
    }

  private:
    static Launch Failed(std::string reason) {
        return Launch{LaunchFailure{std::move(reason), {}}, nullptr};
    }

    ProcessStarter starter_;
    std::chrono::milliseconds programWatchTime_;
};

}  // namespace

std::unique_ptr<Launcher> CreateDesktopLauncher(ProcessStarter starter,
                                                std::chrono::milliseconds programWatchTime) {
    return std::make_unique<DesktopLauncher>(std::move(starter), programWatchTime);
}

std::unique_ptr<Launcher> CreateSystemLauncher() {
    return CreateDesktopLauncher(StartDetached);
}

}  // namespace wendmoor

#endif
