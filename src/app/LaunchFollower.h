#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "platform/Launcher.h"

class QSocketNotifier;
class QWidget;

namespace wendmoor {

// Follows a start that is still watched (Launcher.h) on the window's event loop, so the window
// answers the user all the while. Runs `onFailure` once if the start turns out to have
// failed, and nothing when it worked. A child of `owner`: the watch ends with it, and with the
// outcome.
class LaunchFollower : public QObject {
    Q_OBJECT

  public:
    using FailureHandler = std::function<void(const LaunchFailure&)>;

    LaunchFollower(std::unique_ptr<LaunchWatch> watch, FailureHandler onFailure, QObject* owner);
    ~LaunchFollower() override;

  private:
    void OnReady();

    std::unique_ptr<LaunchWatch> watch_;
    FailureHandler onFailure_;
    QSocketNotifier* notifier_ = nullptr;
};

class MessageBoxes;

// The shell's "open" of `file` in `directory`: a failure known at once, or one the watch learns
// of later, gets the "Error" box over `parent`. True when the start did not fail at once.
bool OpenAndFollow(Launcher& launcher, MessageBoxes& messages, QWidget* parent,
                   const std::string& file, const std::string& directory);

}  // namespace wendmoor
