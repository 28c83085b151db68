#pragma once

#include <string>

namespace wendmoor {

// One "name=value" line of the [General] section, written as the INI settings store writes it,
// so the store reads back exactly the value's bytes: valid UTF-8 as text (quoted when it holds
// ";", "," or "=" or begins or ends with a blank; backslash, quote and control characters
// escaped), anything else as a byte array. No line end.
std::string IniSettingsLine(const std::string& name, const std::string& value);

}  // namespace wendmoor
