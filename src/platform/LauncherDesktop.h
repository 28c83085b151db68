#pragma once

#ifndef _WIN32

#include <chrono>
#include <memory>

#include "platform/Launcher.h"
#include "platform/LauncherProcess.h"

namespace wendmoor {

// How long a started program is watched for an early failure before it is left to itself.
inline constexpr std::chrono::milliseconds kWineWatchTime{1000};
inline constexpr std::chrono::milliseconds kDocumentOpenerWatchTime{1000};

// The launcher of a desktop without the Windows shell: a Windows program (".exe" in any letter
// case) runs under wine from the PATH, anything else opens with the desktop's default
// application (xdg-open from the PATH). The file and the folder are found without regard to
// letter case, as the game folders come from Windows installs. `starter` starts the chosen
// program; StartDetached in the program, a recorder in tests.
std::unique_ptr<Launcher> CreateDesktopLauncher(ProcessStarter starter);

}  // namespace wendmoor

#endif
