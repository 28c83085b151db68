#pragma once

#ifndef _WIN32

#include <chrono>
#include <memory>

#include "platform/Launcher.h"
#include "platform/LauncherProcess.h"

namespace wendmoor {

// How long a started Windows program is watched for a failure before it is left to itself. A
// document opener is watched for as long as it runs: it ends when the document is open, or
// with the reason why it could not be.
inline constexpr std::chrono::milliseconds kProgramWatchTime{10000};

// The launcher of a desktop without the Windows shell: a Windows program (".exe" in any letter
// case) runs under wine from the PATH, anything else opens with the desktop's default
// application (xdg-open from the PATH). The file and the folder are found without regard to
// letter case, as the game folders come from Windows installs. `starter` starts the chosen
// program; StartDetached in the program, a recorder in tests, which also choose a shorter
// `programWatchTime`.
std::unique_ptr<Launcher> CreateDesktopLauncher(
    ProcessStarter starter, std::chrono::milliseconds programWatchTime = kProgramWatchTime);

}  // namespace wendmoor

#endif
