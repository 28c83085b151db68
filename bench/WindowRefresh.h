#pragma once

#include <string>

#include "settings/GamePaths.h"

namespace wendmoor::bench {

// One refresh of a game in the real main window (offscreen), lists filled: the fastest of
// `repeats`, in seconds; negative when the window's lists do not hold the expected counts.
// Creates the Qt application, so call it in a process of its own.
double TimeWindowRefresh(const GamePaths& paths, int game, int repeats, int installed,
                         int available);

}  // namespace wendmoor::bench
