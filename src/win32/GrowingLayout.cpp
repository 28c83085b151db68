#include "win32/GrowingLayout.h"

#include <algorithm>

namespace wendmoor {

void GrowingLayout::Start(HWND dialog, int widthUnits, int heightUnits) {
    dialog_ = dialog;
    RECT natural{0, 0, widthUnits, heightUnits};
    MapDialogRect(dialog, &natural);
    RECT client{};
    GetClientRect(dialog, &client);
    RECT window{};
    GetWindowRect(dialog, &window);
    smallestClient_ = {natural.right, natural.bottom};
    smallestWindow_ = {window.right - window.left + natural.right - client.right,
                       window.bottom - window.top + natural.bottom - client.bottom};
}

namespace {

// A control with the focus gets the wheel and, an edit field or a button, keeps it to itself:
// in a dialog that scrolls, it hands the wheel on.
LRESULT CALLBACK HandWheelOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR dialog) {
    if (message == WM_MOUSEWHEEL) {
        return SendMessageW(reinterpret_cast<HWND>(dialog), message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &HandWheelOn, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void GrowingLayout::Add(HWND control, Growth growth) {
    if (scrolls_) {
        SetWindowSubclass(control, &HandWheelOn, 0, reinterpret_cast<DWORD_PTR>(dialog_));
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({control, rect, growth});
}

void GrowingLayout::Arrange() {
    if (dialog_ == nullptr || placed_.empty()) return;
    // Showing or hiding the scroll bar narrows or widens the client, so it comes first.
    if (scrolls_) UpdateScrollBar();
    RECT client{};
    GetClientRect(dialog_, &client);
    const int extraX = client.right - smallestClient_.cx;
    const int extraY = scrolls_ ? std::max<int>(0, client.bottom - smallestClient_.cy)
                                : client.bottom - smallestClient_.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& placed : placed_) {
        const Growth& g = placed.growth;
        const int x = placed.rect.left + extraX * g.moveX / 2;
        const int y = placed.rect.top + extraY * g.moveY / 2 - offset_;
        const int width = placed.rect.right - placed.rect.left + extraX * g.growX / 2;
        const int height = placed.rect.bottom - placed.rect.top + extraY * g.growY / 2;
        if (positions != nullptr) {
            positions = DeferWindowPos(positions, placed.control, nullptr, x, y, width, height,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) EndDeferWindowPos(positions);
    if (afterArranging_) afterArranging_();
    // Frames and lists that grew repaint as a whole, not only the newly uncovered strip.
    InvalidateRect(dialog_, nullptr, TRUE);
}

namespace {

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

}  // namespace

void GrowingLayout::FitToScreen() {
    const RECT area = WorkAreaOf(dialog_);
    int width = std::min<int>(smallestWindow_.cx, area.right - area.left);
    const int height = std::min<int>(smallestWindow_.cy, area.bottom - area.top);
    // A window already cut to the screen gets no WM_SIZE from the same size.
    Arrange();
    if (width == smallestWindow_.cx && height == smallestWindow_.cy) return;
    // A dialog that scrolls takes the scroll bar's width on top, so that nothing narrows.
    if (scrolls_ && height < smallestWindow_.cy) {
        width = std::min<int>(width + GetSystemMetrics(SM_CXVSCROLL), area.right - area.left);
    }
    SetWindowPos(dialog_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void GrowingLayout::LimitSize(MINMAXINFO& info) const {
    if (dialog_ == nullptr) return;
    const RECT area = WorkAreaOf(dialog_);
    info.ptMinTrackSize.x = std::min<int>(smallestWindow_.cx, area.right - area.left);
    info.ptMinTrackSize.y = std::min<int>(smallestWindow_.cy, area.bottom - area.top);
}

int GrowingLayout::ShortBy() const {
    RECT client{};
    GetClientRect(dialog_, &client);
    return scrolls_ ? std::max<int>(0, smallestClient_.cy - client.bottom) : 0;
}

int GrowingLayout::LineStep() const {
    RECT client{};
    GetClientRect(dialog_, &client);
    return std::max<int>(1, client.bottom / 10);
}

void GrowingLayout::UpdateScrollBar() {
    RECT client{};
    GetClientRect(dialog_, &client);
    offset_ = std::clamp(offset_, 0, ShortBy());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = smallestClient_.cy - 1;
    info.nPage = static_cast<UINT>(std::max<LONG>(0, client.bottom));
    info.nPos = offset_;
    // A page as large as the range hides the bar.
    SetScrollInfo(dialog_, SB_VERT, &info, TRUE);
}

void GrowingLayout::ScrollTo(int offset) {
    const int clamped = std::clamp(offset, 0, ShortBy());
    if (clamped == offset_) return;
    offset_ = clamped;
    Arrange();
}

void GrowingLayout::OnScroll(int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(dialog_, SB_VERT, &info);
    const int page = static_cast<int>(info.nPage);
    const int line = LineStep();
    switch (request) {
        case SB_LINEUP:
            return ScrollTo(offset_ - line);
        case SB_LINEDOWN:
            return ScrollTo(offset_ + line);
        case SB_PAGEUP:
            return ScrollTo(offset_ - page);
        case SB_PAGEDOWN:
            return ScrollTo(offset_ + page);
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return ScrollTo(info.nTrackPos);
        case SB_TOP:
            return ScrollTo(0);
        case SB_BOTTOM:
            return ScrollTo(ShortBy());
        default:
            return;
    }
}

void GrowingLayout::ShowControl(HWND control) {
    if (ShortBy() == 0) return;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    RECT client{};
    GetClientRect(dialog_, &client);
    const int margin = rect.bottom - rect.top;
    if (rect.top - margin < 0) {
        ScrollTo(offset_ + rect.top - margin);
    } else if (rect.bottom + margin > client.bottom) {
        ScrollTo(offset_ + rect.bottom + margin - client.bottom);
    }
}

std::optional<bool> GrowingLayout::Follow(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            Arrange();
            return false;  // the dialog's own handling goes on
        case WM_GETMINMAXINFO:
            LimitSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return true;
        case WM_VSCROLL:
            if (!scrolls_ || lParam != 0) return std::nullopt;  // a scroll bar control's own
            OnScroll(LOWORD(wParam));
            return true;
        case WM_MOUSEWHEEL: {
            if (ShortBy() == 0) return std::nullopt;
            const int lines = GET_WHEEL_DELTA_WPARAM(wParam) * 3 / WHEEL_DELTA;
            ScrollTo(offset_ - lines * LineStep());
            return true;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace wendmoor
