#pragma once

#include <string>

namespace wendmoor::bench {

// What the refresh and the install are compared with, timed on the same files in the same run.

// The least any refresh has to do: list the folder, then open each file and read its last
// 64 KiB (where a small archive keeps its directory). Seconds.
double OpenAndReadTailFloor(const std::string& folder);

// Python's zipfile listing every archive of the folder in one process, timed inside Python so
// the interpreter's start is left out. Seconds, negative when Python is not there.
double PythonZipfileListing(const std::string& folder);

// Info-ZIP unzip extracting the archive into a fresh folder ("unzip -o -q"). Seconds, negative
// when unzip is not there or fails.
double UnzipExtract(const std::string& archive, const std::string& destination);

}  // namespace wendmoor::bench
