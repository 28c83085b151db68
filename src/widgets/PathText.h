#pragma once

#include <string>

#include <QString>

namespace wendmoor {

// Pieces of rich text for message boxes, which wrap long lines.

// Text as it reads: its bytes in the local encoding, escaped, its line breaks kept.
QString TextHtml(const std::string& text);

// A path: like TextHtml, with its blanks non-breaking, so that a path longer than the box
// wraps after one of its separators rather than between the words of a folder's name. Copied
// from the box, the blanks are plain blanks again.
QString PathHtml(const std::string& path);

}  // namespace wendmoor
