#include "win32/GrowingLayout.h"

#include <algorithm>

namespace wendmoor {

void GrowingLayout::Start(HWND dialog) {
    dialog_ = dialog;
    RECT client{};
    GetClientRect(dialog, &client);
    smallestClient_ = {client.right, client.bottom};
    RECT window{};
    GetWindowRect(dialog, &window);
    smallestWindow_ = {window.right - window.left, window.bottom - window.top};
}

void GrowingLayout::Add(HWND control, Growth growth) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({control, rect, growth});
}

void GrowingLayout::Arrange() const {
    if (dialog_ == nullptr || placed_.empty()) return;
    RECT client{};
    GetClientRect(dialog_, &client);
    const int extraX = client.right - smallestClient_.cx;
    const int extraY = client.bottom - smallestClient_.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& placed : placed_) {
        const Growth& g = placed.growth;
        const int x = placed.rect.left + extraX * g.moveX / 2;
        const int y = placed.rect.top + extraY * g.moveY / 2;
        const int width = placed.rect.right - placed.rect.left + extraX * g.growX / 2;
        const int height = placed.rect.bottom - placed.rect.top + extraY * g.growY / 2;
        if (positions != nullptr) {
            positions = DeferWindowPos(positions, placed.control, nullptr, x, y, width, height,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) EndDeferWindowPos(positions);
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

void GrowingLayout::FitToScreen() const {
    const RECT area = WorkAreaOf(dialog_);
    const int width = std::min<int>(smallestWindow_.cx, area.right - area.left);
    const int height = std::min<int>(smallestWindow_.cy, area.bottom - area.top);
    if (width == smallestWindow_.cx && height == smallestWindow_.cy) return;
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

std::optional<bool> GrowingLayout::Follow(UINT message, LPARAM lParam) const {
    if (message == WM_SIZE) {
        Arrange();
        return false;  // the dialog's own handling goes on
    }
    if (message == WM_GETMINMAXINFO) {
        LimitSize(*reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    }
    return std::nullopt;
}

}  // namespace wendmoor
