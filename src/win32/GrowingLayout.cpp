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
    const int extraX = std::max(0L, client.right - smallestClient_.cx);
    const int extraY = std::max(0L, client.bottom - smallestClient_.cy);
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

void GrowingLayout::LimitSize(MINMAXINFO& info) const {
    if (dialog_ == nullptr) return;
    info.ptMinTrackSize.x = smallestWindow_.cx;
    info.ptMinTrackSize.y = smallestWindow_.cy;
}

}  // namespace wendmoor
