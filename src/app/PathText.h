#pragma once

#include <string>

#include <QString>

namespace wendmoor {

// Text with paths in it as a message box shows it: the bytes read in the local encoding, with
// an invisible break opportunity (U+200B) after each path separator, so that a path longer
// than the box wraps between its folders rather than in the middle of a name.
QString BreakAtSeparators(const std::string& text);

}  // namespace wendmoor
