#pragma once

#include <string>

#include "platform/Outcome.h"

namespace wendmoor {

// Names inside the program are UTF-8; the ...W functions of Windows take and give UTF-16.
// These convert at that boundary. Nothing is ever replaced: a name that is not valid UTF-8
// would reach another file than the one asked for, so it is refused with a reason instead.

// UTF-8 -> UTF-16. False, with `wide` emptied, when `text` is not valid UTF-8 (or holds a
// zero byte, which no name can).
bool ToUtf16(const std::string& text, std::wstring& wide);

// The same with the reason a caller reports: "<subject>: not a valid UTF-8 name".
Outcome ToUtf16(const std::string& text, std::wstring& wide, const std::string& subject);

// UTF-16 -> UTF-8. A lone surrogate (possible in a name NTFS holds, never in one a program
// made through the ...W functions of text) becomes U+FFFD; the name is then not reachable
// under the text returned, which is reported where it is used.
std::string ToUtf8(const std::wstring& wide);
std::string ToUtf8(const wchar_t* wide);

}  // namespace wendmoor
