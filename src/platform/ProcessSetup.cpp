#include "platform/ProcessSetup.h"

#include <csignal>

namespace wendmoor {

void PrepareProcessForFileWrites() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace wendmoor
