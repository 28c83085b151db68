#pragma once

#include <memory>
#include <string>

#include "platform/SettingsStore.h"

namespace wendmoor {

// Windows only: a store of string values (REG_SZ) under one registry key. The program's own is
// OpenDefaultSettingsStore(): Software\QARN of the local machine. Tests use a key of their own
// under the current user, which every user may write.
enum class RegistryRoot { LocalMachine, CurrentUser };
std::unique_ptr<SettingsStore> OpenRegistrySettingsStore(RegistryRoot root, const std::string& key);

}  // namespace wendmoor
