// One QApplication for the whole test program, on the offscreen platform unless the caller
// chose another (ctest sets QT_QPA_PLATFORM=offscreen). The user's configuration folder is a
// temporary one, so that nothing Qt keeps there is read from or written to the real one, and
// tests can see what would have been written.
#include <cstdlib>
#include <memory>

#include <QApplication>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

class QtEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        configHome_ = std::make_unique<wendmoor::testing::TempDir>();
        ::setenv("XDG_CONFIG_HOME", configHome_->path().c_str(), 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        configHome_.reset();
    }

  private:
    int argc_ = 1;
    char name_[10] = "gui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<wendmoor::testing::TempDir> configHome_;
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
