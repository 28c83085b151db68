#include "CliFixture.h"

#include "GameTree.h"

#include <algorithm>
#include <filesystem>

#include "platform/SettingsStore.h"

namespace wendmoor::testing {

namespace fs = std::filesystem;

CliTest::CliTest() {
    paths = MakeGameFolders(root);
    settingsFile = root.path() + "settings.ini";
    SaveGamePaths(paths, *OpenIniSettingsStore(settingsFile));
}

ProgramRun CliTest::Cli(std::vector<std::string> arguments, const ProgramOptions& options) {
    arguments.insert(arguments.begin(), {"--settings", settingsFile});
    return CliBare(arguments, options);
}

ProgramRun CliTest::CliBare(const std::vector<std::string>& arguments,
                            const ProgramOptions& options) {
    return RunProgram(WENDMOOR_CLI_PATH, arguments, options);
}

std::string CliTest::AddPackage(const std::string& missionsFolder, const std::string& name,
                                const ZipWriter& zip) {
    const std::string path = missionsFolder + name;
    EXPECT_TRUE(zip.WriteTo(path));
    return path;
}

std::string CliTest::Snapshot() const {
    std::vector<std::string> items;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.path())) {
        std::string item = entry.path().string();
        if (entry.is_regular_file()) item += " = " + ReadFileBytes(item).value_or("?");
        items.push_back(item);
    }
    std::sort(items.begin(), items.end());
    return Lines(items);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace wendmoor::testing
