#pragma once

#include <string>
#include <string_view>

namespace wendmoor {

// The full path of the running program's executable, in the platform's narrow encoding; empty
// when the system cannot tell.
std::string ExecutablePath();

// The folder an install keeps the program's shared files in, found from where the executable
// lies so that a moved install still finds them: "PREFIX/bin/wendmoor" has them in
// "PREFIX/share/wendmoor". On Windows they lie beside the program, in its own folder. No
// trailing separator; empty for an empty path.
std::string InstalledDataFolder(std::string_view executablePath);

// The folder from which a data file such as the readme is opened: the start folder when the
// file lies there, else the install's data folder when it lies there. When it lies in neither,
// the start folder, so that the failure to open it names the folder the user started in.
std::string FolderHoldingDataFile(const std::string& name, const std::string& startFolder,
                                  std::string_view executablePath);

}  // namespace wendmoor
