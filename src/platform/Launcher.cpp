#include "platform/Launcher.h"

namespace wendmoor {

std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory) {
    return reason + " '" + file + "'  in  '" + directory + "'";
}

}  // namespace wendmoor
