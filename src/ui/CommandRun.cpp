#include "ui/CommandRun.h"

namespace wendmoor {

CommandRun::CommandRun(MainWindowState& state, PackageCommand command)
    : state_(state), command_(std::move(command)) {
    state_.BeginCommand();
}

void CommandRun::Work() {
    outcome_ = state_.RunCommand(command_, &progress_);
}

ProgressView CommandRun::Progress(bool waitingForLock) const {
    return CommandProgressView(command_.Install(), command_.package, progress_, waitingForLock);
}

std::function<void()> CommandRun::Canceller() {
    if (!command_.Install()) return {};
    return [this] { progress_.Cancel(); };
}

std::string CommandRun::Finish() {
    return state_.FinishCommand(command_, outcome_, progress_.CancelRequested());
}

}  // namespace wendmoor
