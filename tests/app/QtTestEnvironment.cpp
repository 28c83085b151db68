// One QApplication for the whole test program, on the offscreen platform unless the caller
// chose another (ctest sets QT_QPA_PLATFORM=offscreen). The user's configuration folder is a
// temporary one, so that nothing Qt keeps there is read from or written to the real one, and
// tests can see what would have been written.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

namespace {

class QtEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "gui_tests_config_XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            configHome_ = pattern;
            ::setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
        }
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
        std::error_code ignored;
        if (!configHome_.empty()) std::filesystem::remove_all(configHome_, ignored);
    }

  private:
    int argc_ = 1;
    char name_[10] = "gui_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
    std::string configHome_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
