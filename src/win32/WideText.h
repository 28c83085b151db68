#pragma once

#include <string>

namespace wendmoor {

// Text for a control, a caption or a menu: UTF-8 in, UTF-16 out. Shown only, never used as a
// name: a byte that is no UTF-8 shows as U+FFFD. Names go through platform/windows/Utf16.h,
// which refuses such bytes instead.
std::wstring ShownText(const std::string& text);

// A control's text, read back (a test's check, a chooser's answer).
std::string ControlText(void* control);

}  // namespace wendmoor
