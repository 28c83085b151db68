#include "platform/ProcessSetup.h"

#include <csignal>

#include "platform/StopRequest.h"

namespace wendmoor {

void PrepareProcessForFileWrites() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    InstallStopHandlers();
}

}  // namespace wendmoor
