#pragma once

// Pre-answered stand-ins for the window's seams, and a fixture that opens the main window on
// a settings file in a temporary folder.

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QDialog>
#include <QString>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "UiFakes.h"
#include "ZipWriter.h"
#include "app/MainDialog.h"
#include "games/Games.h"
#include "platform/Launcher.h"
#include "platform/SettingsStore.h"
#include "settings/GamePaths.h"
#include "widgets/ListBoxes.h"
#include "widgets/Seams.h"

namespace wendmoor::testing {

inline const QString kAboutBoxTitle = QStringLiteral("Info über QARN");
inline const QString kOptionsDialogTitle = QStringLiteral("QARN Options Dialog");

// Clicks the named button of a window or dialog.
inline void Press(QWidget& parent, const char* button) {
    parent.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
}

// Runs each dialog with the next scripted answer; a dialog nobody expected is rejected and
// counted.
class ScriptedDialogRunner final : public DialogRunner {
  public:
    using Answer = std::function<void(QDialog&)>;

    void Expect(Answer answer) { answers_.push_back(std::move(answer)); }

    int Run(QDialog& dialog) override {
        titles.push_back(dialog.windowTitle());
        if (answers_.empty()) {
            ++unexpected;
            dialog.reject();
        } else {
            Answer answer = std::move(answers_.front());
            answers_.pop_front();
            answer(dialog);
        }
        return dialog.result();
    }

    std::size_t Pending() const { return answers_.size(); }

    std::vector<QString> titles;  // every dialog run, in order
    int unexpected = 0;

  private:
    std::deque<Answer> answers_;
};

inline ScriptedDialogRunner::Answer Accept() {
    return [](QDialog& dialog) { dialog.accept(); };
}
inline ScriptedDialogRunner::Answer Reject() {
    return [](QDialog& dialog) { dialog.reject(); };
}
// Works the dialog as the given type (failing the test when it is another), then ends it.
template <typename Dialog>
ScriptedDialogRunner::Answer Work(std::function<void(Dialog&)> work) {
    return [work = std::move(work)](QDialog& dialog) {
        auto* typed = dynamic_cast<Dialog*>(&dialog);
        ASSERT_NE(typed, nullptr) << "another dialog: " << dialog.windowTitle().toStdString();
        work(*typed);
    };
}

// Records each open and answers `failure` at once; with `real` set and no failure, hands the
// open on to that launcher (the system's, with stand-in starters on a PATH of the test's).
class FakeLauncher final : public Launcher {
  public:
    Launch Open(const std::string& file, const std::string& directory) override {
        calls.emplace_back(file, directory);
        if (failure) return Launch{LaunchFailure{*failure, {}}, nullptr};
        if (real != nullptr) return real->Open(file, directory);
        return {};
    }
    std::optional<std::string> failure;
    Launcher* real = nullptr;
    std::vector<std::pair<std::string, std::string>> calls;
};

// A settings file that tells each write to the test.
class RecordingStore final : public SettingsStore {
  public:
    explicit RecordingStore(const std::string& file) : inner_(OpenIniSettingsStore(file)) {}
    bool Read(const std::string& name, std::string& value) const override {
        return inner_->Read(name, value);
    }
    Outcome Write(const std::string& name, const std::string& value) override {
        if (onWrite) onWrite(name, value);
        writes.push_back(name);
        return inner_->Write(name, value);
    }
    std::function<void(const std::string&, const std::string&)> onWrite;
    std::vector<std::string> writes;

  private:
    std::unique_ptr<SettingsStore> inner_;
};

using Lines = std::vector<std::string>;

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { startFolder_ = std::filesystem::current_path(); }
    void TearDown() override {
        window.reset();
        std::filesystem::current_path(startFolder_);  // a test may enter a folder of its own
    }

    // Stores the folders as a previous run would have, then opens the window on them; a
    // first-start About box is confirmed.
    void Open(const GamePaths& stored) {
        ASSERT_TRUE(SaveGamePaths(stored, store).Ok());
        store.writes.clear();
        window = std::make_unique<MainDialog>(store, services);
        if (stored.pharao_path.empty() && stored.zeus_path.empty() && stored.emperor_path.empty()) {
            dialogs.Expect(Accept());  // the first-start About box
        }
        ASSERT_TRUE(window->InitDialog());
        dialogs.titles.clear();
    }

    void Click(const char* button) { Press(*window, button); }
    Lines Content() const { return ListLines(window->ContentList()); }
    Lines Installed() const { return ListLines(window->InstalledList()); }
    Lines Available() const { return ListLines(window->AvailableList()); }

    // Caesar III folders in the temporary tree, with the other games left unset.
    GamePaths Caesar3Folders() {
        GamePaths paths;
        paths.caesar3_missions = dir.MakeFolder("c3missions");
        paths.caesar3_path = dir.MakeFolder("Caesar3");
        paths.pharao_path = dir.MakeFolder("Pharaoh");  // no first-start About box
        return paths;
    }
    // The window open on Caesar3Folders() with these packages, Caesar III selected.
    GamePaths OpenOnCaesar3(const std::vector<std::pair<std::string, ZipWriter>>& packages) {
        const GamePaths paths = Caesar3Folders();
        for (const auto& [name, zip] : packages) {
            EXPECT_TRUE(zip.WriteTo(paths.caesar3_missions + name));
        }
        Open(paths);
        Click("caesar3Button");
        EXPECT_EQ(window->CurrentGame(), kCaesar3);
        return paths;
    }

    TempDir dir;
    RecordingStore store{dir.path() + "QARN.conf"};
    ScriptedDialogRunner dialogs;
    RecordingMessageBoxes messages;
    ScriptedFileChooser files;
    FakeLauncher launcher;
    GuiServices services{dialogs, messages, files, launcher};
    std::unique_ptr<MainDialog> window;

  private:
    std::filesystem::path startFolder_;
};

}  // namespace wendmoor::testing
