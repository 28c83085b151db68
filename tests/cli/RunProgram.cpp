#include "RunProgram.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "TempDir.h"
#include "ZipWriter.h"

namespace wendmoor::testing {

namespace {

[[noreturn]] void ExecChild(const std::string& program, const std::vector<std::string>& arguments,
                            const ProgramOptions& options, const std::string& outFile,
                            const std::string& errFile) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOptions& options) {
    const TempDir streams;
    const std::string outFile =
        options.stdoutFile.empty() ? streams.path() + "stdout" : options.stdoutFile;
    const std::string errFile = streams.path() + "stderr";

    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) ExecChild(program, arguments, options, outFile, errFile);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (options.stdoutFile.empty()) run.out = ReadFileBytes(outFile).value_or("");
    run.err = ReadFileBytes(errFile).value_or("");
    return run;
}

}  // namespace wendmoor::testing
