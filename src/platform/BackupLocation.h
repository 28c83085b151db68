#pragma once

#include <string>

namespace wendmoor {

// The folder that keeps the player's files which an install replaced or a deinstall deleted:
// $XDG_DATA_HOME/QARN/backups/ (by default ~/.local/share/QARN/backups/), on Windows
// %LOCALAPPDATA%\QARN\backups\. It ends with the separator and need not exist yet. Empty when
// the environment names no such place; nothing can be kept then.
std::string DefaultBackupStoreFolder();

}  // namespace wendmoor
