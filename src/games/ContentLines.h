#pragma once

#include <string>
#include <vector>

namespace wendmoor {

// Lines of "Zipfile Content": a marker letter, a blank and a stored name.
using ContentLines = std::vector<std::string>;

}  // namespace wendmoor
