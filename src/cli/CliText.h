#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace wendmoor {

// A name as the tool prints it: one name is one line whatever its bytes. Control characters
// are written as C escapes (\n, \t, \r, other ones as \xHH); everything else, backslashes and
// bytes that are no UTF-8 included, stays as it is, so an ordinary name prints unchanged.
std::string PrintableName(std::string_view name);

// One failure line on standard error: the tool's name, then the text as PrintableName prints it.
void PrintFailure(std::ostream& err, std::string_view text);

}  // namespace wendmoor
