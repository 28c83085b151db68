#include "app/LaunchFollower.h"

#include <QWidget>

#include "ui/WindowTexts.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"

#include <QSocketNotifier>

namespace wendmoor {

LaunchFollower::LaunchFollower(std::unique_ptr<LaunchWatch> watch, FailureHandler onFailure,
                               QObject* owner)
    : QObject(owner), watch_(std::move(watch)), onFailure_(std::move(onFailure)) {
    notifier_ = new QSocketNotifier(watch_->Descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &LaunchFollower::OnReady);
}

LaunchFollower::~LaunchFollower() = default;

void LaunchFollower::OnReady() {
    if (!watch_->Collect()) return;
    // Over: no more notices, and gone once the event loop gets back here. The handler may
    // show a modal box, which runs an event loop of its own.
    notifier_->setEnabled(false);
    deleteLater();
    const std::optional<LaunchFailure> failure = watch_->Failure();
    if (failure && onFailure_) onFailure_(*failure);
}

namespace {

// The "Error" box: the reason, then the file and the folder on lines of their own, each
// wrapping at its separators; the starter's own words behind "Show Details...".
void ShowShellError(MessageBoxes& messages, QWidget* parent, const LaunchFailure& failure,
                    const std::string& file, const std::string& directory) {
    messages.ShowInformation(ParentOf(parent), kErrorCaption,
                             ShellErrorText(failure, file, directory), failure.details);
}

}  // namespace

bool OpenAndFollow(Launcher& launcher, MessageBoxes& messages, QWidget* parent,
                   const std::string& file, const std::string& directory) {
    Launch launch = launcher.Open(file, directory);
    if (launch.failure) {
        ShowShellError(messages, parent, *launch.failure, file, directory);
        return false;
    }
    if (launch.watch) {
        // A failure that shows only later gets the same box, whenever it comes.
        new LaunchFollower(
            std::move(launch.watch),
            [&messages, parent, file, directory](const LaunchFailure& failure) {
                ShowShellError(messages, parent, failure, file, directory);
            },
            parent);
    }
    return true;
}

}  // namespace wendmoor
