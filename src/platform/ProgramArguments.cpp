#include "platform/ProgramArguments.h"

#include <cstdlib>

namespace wendmoor {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

void UseUtf8Console() {}

}  // namespace wendmoor
