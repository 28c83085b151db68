#pragma once

#include <functional>
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
// for that size (a large scaling on a small screen) makes it shrink the same way instead, or,
// for a dialog whose rows cannot shrink, scroll.
class GrowingLayout {
  public:
    // Shorter than its smallest height, the dialog keeps every control's height and scrolls
    // vertically (the scroll bar, the wheel, and the focus moving to a control out of view).
    // Before Add.
    void ScrollWhenShort() { scrolls_ = true; }
    // The template's size, in dialog units, is the smallest client size: the controls were
    // placed for it, even when the window was cut to a smaller screen as it was made.
    void Start(HWND dialog, int widthUnits, int heightUnits);
    // Records a control where it stands now.
    void Add(HWND control, Growth growth);
    void Arrange();
    // Runs after every arrangement, for controls that fit themselves to their text.
    void AfterArranging(std::function<void()> step) { afterArranging_ = std::move(step); }
    // Makes the dialog no larger than the work area of its screen, and arranges it.
    void FitToScreen();
    // WM_GETMINMAXINFO: the dialog becomes no smaller than it started.
    void LimitSize(MINMAXINFO& info) const;
    // Scrolls a dialog that scrolls so that `control`, with a margin of its own height above
    // and below, is in view.
    void ShowControl(HWND control);
    // WM_SIZE arranges, WM_GETMINMAXINFO limits the size, and a dialog that scrolls follows
    // WM_VSCROLL and WM_MOUSEWHEEL: whether the dialog handled the message, for these; nothing
    // for any other.
    std::optional<bool> Follow(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Placed {
        HWND control;
        RECT rect;
        Growth growth;
    };
    // How far the client misses the smallest height; 0 when it does not scroll.
    int ShortBy() const;
    // A scroll bar's arrow and a wheel notch: a tenth of the visible height.
    int LineStep() const;
    void UpdateScrollBar();
    void ScrollTo(int offset);
    void OnScroll(int request);

    HWND dialog_ = nullptr;
    bool scrolls_ = false;
    int offset_ = 0;  // how far the content is scrolled up
    SIZE smallestClient_{};
    SIZE smallestWindow_{};
    std::vector<Placed> placed_;
    std::function<void()> afterArranging_;
};

}  // namespace wendmoor
