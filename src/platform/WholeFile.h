#pragma once

#include <string>

namespace wendmoor {

enum class WholeFileRead { kRead, kMissing, kFailed };

// Reads a whole file into `bytes`. kMissing: no file of that name (`bytes` is then empty);
// kFailed: there is one, but it could not be read.
WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace wendmoor
