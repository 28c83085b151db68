#pragma once

#include <string>
#include <string_view>

namespace wendmoor {

// What the text after the "=" of a settings line means, read as Qt's INI reader reads it, so
// every file the earlier, Qt-based versions of the program read means the same now.
//
// Blanks around the value are dropped, double quotes protect what they enclose, backslash
// escapes (\n, \t, \", \\, \x41, \101 ...) stand for their character, and a backslash before
// any other character drops both. An unquoted comma makes the value a list. A leading "@"
// marks a typed value: "@ByteArray(...)" holds bytes, one per character, "@String(...)" and
// "@@..." text; the other types read as empty text.
// Bytes that are no UTF-8 outside the escapes make the value kNotUtf8: Qt read each as U+FFFD,
// which names another folder than the one the player wrote.
struct IniValue {
    enum class Kind { kText, kList, kNotUtf8 };
    Kind kind = Kind::kText;
    std::string bytes;  // kText: UTF-8 text or, from a byte array, any bytes
};

IniValue ParseIniValue(std::string_view written);

}  // namespace wendmoor
