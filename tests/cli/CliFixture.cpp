#include "CliFixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/SettingsStore.h"

namespace wendmoor::testing {

namespace fs = std::filesystem;

namespace {

pid_t StartTool(const std::vector<std::string>& arguments, const ProgramOptions& options,
                const std::string& outFile, const std::string& errFile) {
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child > 0) return child;
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv = {const_cast<char*>(WENDMOOR_CLI_PATH)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

}  // namespace

CliTest::CliTest() {
    paths = MakeGameFolders(root);
    settingsFile = root.path() + "settings.ini";
    EXPECT_TRUE(SaveGamePaths(paths, *OpenIniSettingsStore(settingsFile)).Ok());
}

ProgramRun CliTest::Cli(std::vector<std::string> arguments, const ProgramOptions& options) {
    arguments.insert(arguments.begin(), {"--settings", settingsFile});
    return CliBare(arguments, options);
}

ProgramRun CliTest::CliBare(const std::vector<std::string>& arguments,
                            const ProgramOptions& options) {
    const TempDir streams;
    const std::string outFile =
        options.stdoutFile.empty() ? streams.path() + "stdout" : options.stdoutFile;
    const int status = Wait(StartTool(arguments, options, outFile, streams.path() + "stderr"));
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (options.stdoutFile.empty()) run.out = ReadFileBytes(outFile).value_or("");
    run.err = ReadFileBytes(streams.path() + "stderr").value_or("");
    return run;
}

pid_t CliTest::Start(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--settings", settingsFile});
    return StartTool(arguments, {}, "/dev/null", "/dev/null");
}

int CliTest::Wait(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::string CliTest::AddPackage(const std::string& missionsFolder, const std::string& name,
                                const ZipWriter& zip) {
    const std::string path = missionsFolder + name;
    EXPECT_TRUE(zip.WriteTo(path));
    return path;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace wendmoor::testing
