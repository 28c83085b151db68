#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Outcome.h"

namespace wendmoor {

// A persistent store of named byte-string values under one key. The program's settings live
// in the registry on Windows and in an INI file elsewhere.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // False when the value is missing or cannot be read; `value` is then untouched.
    virtual bool Read(const std::string& name, std::string& value) const = 0;
    // Why a value that is present cannot be read, in words for the player that name the value
    // and how to write it; empty when it reads or is missing.
    virtual std::string WhyUnreadable(const std::string& /*name*/) const { return {}; }
    // The names of the values the store holds that no Read of a `known` name finds, each once
    // and as the store spells them, so that a name Wendmoor does not know can be said. Each
    // store matches names by its own rule (the registry ignores letter case).
    virtual std::vector<std::string> UnknownNames(const std::vector<std::string>& /*known*/) const {
        return {};
    }
    // Writes the user's own store; a failure carries the system's reason.
    virtual Outcome Write(const std::string& name, const std::string& value) = 0;
};

// The store the program uses when nothing else is said: on Windows the registry key
// Software\QARN of the current user, with the local machine's supplying what the user's lacks;
// elsewhere QARN.conf in the user's configuration folder, with a
// machine-wide QARN.conf in the system configuration folder supplying what the user's lacks.
std::unique_ptr<SettingsStore> OpenDefaultSettingsStore();

// An INI store in the given file alone (tests, the command-line tool's --settings). An
// optional fallback file supplies values the first one lacks; it is never written.
std::unique_ptr<SettingsStore> OpenIniSettingsStore(const std::string& file,
                                                    const std::string& fallbackFile = {});

}  // namespace wendmoor
