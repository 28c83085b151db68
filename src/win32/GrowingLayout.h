#pragma once

#include <optional>
#include <vector>

#include "win32/Win32Api.h"

namespace wendmoor {

// How a control follows a larger window, in halves of the extra width and height, as the
// window layer's tables give it (TemplateControl's moveX, growX, moveY, growY).
struct Growth {
    int moveX = 0, growX = 0, moveY = 0, growY = 0;
};

// Places a dialog's controls when the dialog grows: each keeps the rectangle it had at the
// dialog's smallest size, moved and grown by its share of the extra room. A screen too small
// for that size (a large scaling on a small screen) makes it shrink the same way instead.
class GrowingLayout {
  public:
    // Takes the dialog's present client size as the smallest one.
    void Start(HWND dialog);
    // Records a control where it stands now.
    void Add(HWND control, Growth growth);
    void Arrange() const;
    // Makes the dialog no larger than the work area of its screen.
    void FitToScreen() const;
    // WM_GETMINMAXINFO: the dialog becomes no smaller than it started.
    void LimitSize(MINMAXINFO& info) const;
    // WM_SIZE arranges and WM_GETMINMAXINFO limits the size: whether the dialog handled the
    // message, for these two; nothing for any other.
    std::optional<bool> Follow(UINT message, LPARAM lParam) const;

  private:
    struct Placed {
        HWND control;
        RECT rect;
        Growth growth;
    };
    HWND dialog_ = nullptr;
    SIZE smallestClient_{};
    SIZE smallestWindow_{};
    std::vector<Placed> placed_;
};

}  // namespace wendmoor
