#pragma once

#include <QApplication>
#include <QCursor>

namespace wendmoor {

// The wait cursor from construction to destruction, also when an exception
// leaves the scope. Nests: an inner one leaves the outer one standing.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The normal cursor for a modal dialog that a waiting operation opens (the options dialog
// that a game selection asks for), so the user does not see the wait cursor over it.
// Does nothing when no wait cursor stands.
class NormalCursor {
  public:
    NormalCursor() : pushed_(QApplication::overrideCursor() != nullptr) {
        if (pushed_) QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~NormalCursor() {
        if (pushed_) QApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

  private:
    bool pushed_;
};

}  // namespace wendmoor
