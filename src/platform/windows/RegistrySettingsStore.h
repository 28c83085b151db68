#pragma once

#include <memory>
#include <string>

#include "platform/SettingsStore.h"

namespace wendmoor {

// Windows only: a store of string values (REG_SZ) under one registry key, e.g. Software\QARN.
// A value is read from the key of the current user, or from the same key of the local machine
// when the user's lacks it (what an older tool stored machine-wide); writes go to the user's
// key, which needs no administrator rights. The program's own is OpenDefaultSettingsStore();
// tests use a key of their own.
std::unique_ptr<SettingsStore> OpenRegistrySettingsStore(const std::string& key);

}  // namespace wendmoor
