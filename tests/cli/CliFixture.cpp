#include "CliFixture.h"

#include <algorithm>
#include <filesystem>

#include "platform/SettingsStore.h"

namespace wendmoor::testing {

namespace fs = std::filesystem;

CliTest::CliTest() {
    paths.caesar3_missions = root.MakeFolder("c3/missions");
    paths.caesar3_path = root.MakeFolder("c3/game");
    paths.pharao_missions = root.MakeFolder("pharao/missions");
    paths.pharao_path = root.MakeFolder("pharao/game");
    root.MakeFolder("pharao/game/Maps");
    paths.pharao_saves = root.MakeFolder("pharao/saves");
    paths.zeus_missions = root.MakeFolder("zeus/missions");
    paths.zeus_path = root.MakeFolder("zeus/game");
    root.MakeFolder("zeus/game/Adventures");
    paths.zeus_saves = root.MakeFolder("zeus/saves");
    paths.emperor_missions = root.MakeFolder("emperor/missions");
    paths.emperor_path = root.MakeFolder("emperor/game");
    root.MakeFolder("emperor/game/Cities");
    root.MakeFolder("emperor/game/Campaigns");
    paths.emperor_saves = root.MakeFolder("emperor/saves");
    settingsFile = root.path() + "settings.ini";
    WriteSettings(settingsFile);
}

void CliTest::WriteSettings(const std::string& file) const {
    const auto store = OpenIniSettingsStore(file);
    SaveGamePaths(paths, *store);
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
