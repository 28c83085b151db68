#pragma once

#include <string>
#include <vector>

namespace wendmoor::bench {

// What the refresh and the install are compared with, timed on the same files in the same run.

// The least any refresh has to do: list the folder, then open each file and read its last
// 64 KiB (where a small archive keeps its directory). Seconds; negative on failure.
double OpenAndReadTailFloor(const std::string& folder);

// Python's zipfile listing every archive of the folder in one process; it prints the seconds
// it took itself, the interpreter's start left out.
std::vector<std::string> PythonListingCommand(const std::string& folder);

// Info-ZIP unzip extracting the archive into `destination`, which must not exist yet.
std::vector<std::string> UnzipCommand(const std::string& archive, const std::string& destination);

}  // namespace wendmoor::bench
