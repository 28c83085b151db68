#include "SampleSetup.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "SamplePackages.h"
#include "ZipWriter.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace wendmoor::sample {

namespace {

namespace fs = std::filesystem;
using testing::WriteFileBytes;
using testing::ZipWriter;

bool MakeFolder(const std::string& folder, std::string& error) {
    std::error_code failure;
    fs::create_directories(folder, failure);
    if (!failure) return true;
    error = "cannot create " + folder + ": " + failure.message();
    return false;
}

bool WriteArchive(const std::string& path, const SamplePackage& package, std::string& error) {
    ZipWriter archive;
    for (const std::string& entry : package.entries) {
        if (entry.back() == '/')
            archive.AddFolder(entry);
        else
            archive.Add(entry, "Sample file " + entry + " of the package " + package.name + ".\n");
    }
    if (archive.WriteTo(path)) return true;
    error = "cannot write " + path;
    return false;
}

bool BuildGame(const std::string& root, const SampleGame& game, GamePaths& paths,
               std::string& error) {
    const std::string gameFolder = root + "games/" + game.folderName + "/";
    const std::string missions = root + "missions/" + game.folderName + "/";
    for (const std::string& subFolder : game.gameSubFolders) {
        if (!MakeFolder(gameFolder + subFolder, error)) return false;
    }
    if (!MakeFolder(gameFolder, error) || !MakeFolder(missions, error)) return false;
    paths.*game.gameFolder = gameFolder;
    paths.*game.missions = missions;
    if (game.saves != nullptr) {
        const std::string saves = root + "saves/" + game.folderName + "/";
        if (!MakeFolder(saves, error)) return false;
        paths.*game.saves = saves;
    }

    const std::string program = gameFolder + game.programName;
    if (!WriteFileBytes(program, "MZ This stands in for the game's program in the sample.\n")) {
        error = "cannot write " + program;
        return false;
    }
    for (const SamplePackage& package : game.packages) {
        if (!WriteArchive(missions + package.name, package, error)) return false;
    }
    return true;
}

bool WriteSettings(const Sample& sample, std::string& error) {
    const auto store = OpenIniSettingsStore(sample.settingsFile);
    if (const Outcome saved = SaveGamePaths(sample.paths, *store); !saved.Ok()) {
        error = saved.Lines().front();
        return false;
    }
    GamePaths written;
    LoadGamePaths(written, *store);
    if (written == sample.paths) return true;
    error = "cannot write the settings file " + sample.settingsFile;
    return false;
}

// Installs the packages marked so, through the same routines the program uses. A game whose
// routines this build lacks keeps all its packages available.
void InstallMarkedPackages(GamePaths& paths) {
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, {});
    for (const SampleGame& game : SampleGames()) {
        if (!session.SelectGame(game.game)) continue;
        for (const SamplePackage& package : game.packages) {
            // A sample whose install fails stays available; the sample is still usable.
            if (package.installed) (void)session.RunPackageCommand(package.name, true);
        }
    }
}

bool IsEmptyOrMissing(const std::string& folder) {
    std::error_code failure;
    return !fs::exists(folder, failure) || fs::is_empty(folder, failure);
}

std::string AbsoluteFolder(const std::string& folder) {
    std::string absolute = fs::absolute(folder).lexically_normal().string();
    if (absolute.back() != '/') absolute += '/';
    return absolute;
}

}  // namespace

bool BuildSample(const std::string& folder, Sample& sample, std::string& error) {
    const std::string root = AbsoluteFolder(folder);
    sample.settingsFile = root + kSampleSettingsName;
    const bool earlierSample = fs::exists(sample.settingsFile);
    if (!earlierSample && !IsEmptyOrMissing(root)) {
        error = root + " holds files but no sample; choose a new or empty folder";
        return false;
    }

    sample.paths = {};
    for (const SampleGame& game : SampleGames()) {
        if (!BuildGame(root, game, sample.paths, error)) return false;
    }
    if (!WriteSettings(sample, error)) return false;

    if (!earlierSample) {
        // The scans enter the missions folders; the caller gets its current folder back.
        const int startFolder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        InstallMarkedPackages(sample.paths);
        if (startFolder >= 0) {
            [[maybe_unused]] const int back = ::fchdir(startFolder);
            ::close(startFolder);
        }
    }
    return true;
}

SampleCommand ParseSampleArguments(const std::vector<std::string>& arguments) {
    SampleCommand command;
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            command.kind = SampleCommand::Kind::Help;
            return command;
        } else if (!optionsEnded && !argument.empty() && argument.front() == '-') {
            command.error = "unknown option " + argument;
            return command;
        } else {
            folders.push_back(argument);
        }
    }
    if (folders.size() != 1 || folders.front().empty()) {
        command.error = folders.empty() ? "no folder given" : "give one folder";
        return command;
    }
    command.kind = SampleCommand::Kind::Build;
    command.folder = folders.front();
    return command;
}

}  // namespace wendmoor::sample
