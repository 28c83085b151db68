#include "app/LaunchFollower.h"

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

}  // namespace wendmoor
