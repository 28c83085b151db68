#include "WindowRefresh.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>

#include <map>
#include <optional>

#include "Measure.h"
#include "app/MainDialog.h"
#include "platform/Launcher.h"
#include "platform/SettingsStore.h"
#include "ui/Seams.h"
#include "widgets/Seams.h"

namespace wendmoor::bench {

namespace {

// The window asks nothing during a refresh of complete folders; every seam just declines.
class DecliningDialogs final : public DialogRunner {
  public:
    int Run(QDialog& dialog) override {
        dialog.reject();
        return QDialog::Rejected;
    }
};
class SilentMessages final : public MessageBoxes {
  public:
    void ShowInformation(ParentWindow, const std::string&, const std::string&,
                         const std::string&) override {}
    void ShowWarning(ParentWindow, const std::string&, const std::string&) override {}
    bool AskYesNo(ParentWindow, const std::string&, const std::string&) override { return false; }
};
class NoFileChooser final : public FileChooser {
  public:
    std::optional<std::string> ChooseFile(ParentWindow, const FileChoiceRequest&) override {
        return std::nullopt;
    }
};
class NoLauncher final : public Launcher {
  public:
    Launch Open(const std::string&, const std::string&) override {
        return Launch{LaunchFailure{"not in the benchmark\n", {}}, nullptr};
    }
};
class MemorySettings final : public SettingsStore {
  public:
    bool Read(const std::string& name, std::string& value) const override {
        const auto found = values_.find(name);
        if (found == values_.end()) return false;
        value = found->second;
        return true;
    }
    Outcome Write(const std::string& name, const std::string& value) override {
        values_[name] = value;
        return {};
    }

  private:
    std::map<std::string, std::string> values_;
};

}  // namespace

double TimeWindowRefresh(const GamePaths& paths, int game, int repeats, int installed,
                         int available) {
    int argc = 1;
    char name[] = "wendmoor_bench";
    char* argv[] = {name, nullptr};
    // Qt's notes about the offscreen platform would break the table's lines.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication application(argc, argv);
    MemorySettings settings;
    (void)SaveGamePaths(paths, settings);  // in memory: never fails
    DecliningDialogs dialogs;
    SilentMessages messages;
    NoFileChooser files;
    NoLauncher launcher;
    GuiServices services{dialogs, messages, files, launcher};
    MainDialog window(settings, services);
    if (!window.InitDialog()) return -1;
    bool right = true;
    const double seconds = FastestOf(repeats, [&] {
        window.SelectGame(game);
        right = window.InstalledList()->count() == installed &&
                window.AvailableList()->count() == available;
    });
    return right ? seconds : -1;
}

}  // namespace wendmoor::bench
