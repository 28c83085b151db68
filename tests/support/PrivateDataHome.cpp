// Linked into every test program: the backups that commands make (see DefaultBackupStoreFolder)
// land in a fresh temporary folder of the test process, never in the user's data folder.
// XDG_DATA_HOME (LOCALAPPDATA on Windows) names it for the whole process and for every program
// it starts; it goes when the process ends.
#ifdef _WIN32
#include <cstdlib>

#include "TempDir.h"

namespace {
struct PrivateDataHome {
    PrivateDataHome() { _putenv_s("LOCALAPPDATA", folder.path().c_str()); }
    wendmoor::testing::TempDir folder;
} const kPrivateDataHome;
}  // namespace
#else
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

class PrivateDataHome {
  public:
    PrivateDataHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "wendmoor-data-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
        folder_ = pattern;
        ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    }
    ~PrivateDataHome() {
        // A forked child that ends normally must not take the parent's folder with it.
        if (::getpid() != owner_) return;
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::string folder_;
    pid_t owner_ = ::getpid();
};

const PrivateDataHome kPrivateDataHome;

}  // namespace
#endif
