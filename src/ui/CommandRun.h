#pragma once

#include <functional>
#include <string>

#include "archive/CommandProgress.h"
#include "platform/Outcome.h"
#include "ui/MainWindowState.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

// One install or deinstall as a window runs it: begun on the window's thread, worked off it,
// watched by the progress dialog and finished on the window's thread again.
class CommandRun {
  public:
    // Begins the command (MainWindowState::BeginCommand).
    CommandRun(MainWindowState& state, PackageCommand command);

    // From the work's thread.
    void Work();
    // The progress dialog's lines: the command's progress, or that it is being cancelled.
    ProgressView Progress(bool waitingForLock) const;
    // The progress dialog's Cancel: only an install can stop, as it replaces nothing before all
    // its files are written; empty for a deinstall.
    std::function<void()> Canceller();
    // The command ended: the message for the player, empty when all went well. Ok() tells a
    // report from a warning.
    std::string Finish();
    bool Ok() const { return outcome_.Ok(); }

  private:
    MainWindowState& state_;
    PackageCommand command_;
    CommandProgress progress_;
    Outcome outcome_;
};

}  // namespace wendmoor
