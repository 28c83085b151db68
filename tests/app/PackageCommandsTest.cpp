// Content display, install and deinstall from the window, on Caesar III packages. Where the
// files go is the session's (tests/packages); the window shows the lists it keeps.
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTest>

#include "FakeSeams.h"

namespace wendmoor {
namespace {

using namespace testing;

class PackageCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenOnCaesar3({{"rome.zip", ZipWriter()
                                        .Add("Rome.MAP", "rome map")
                                        .Add("maps/Rome.sav", "rome save")
                                        .Add("readme.txt", "hello")},
                       {"carthage.zip", ZipWriter().Add("Carthage.map", "carthage map")}});
    }

    // As the user's click on a line does it: the list reports the selection change.
    void Pick(QListWidget* list, const std::string& line) {
        const Lines lines = ListLines(list);
        const auto found = std::find(lines.begin(), lines.end(), line);
        ASSERT_NE(found, lines.end()) << line;
        list->setCurrentRow(static_cast<int>(found - lines.begin()));
    }
    QPushButton* Button(const char* name) {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    const Lines romeContent = {"M Rome.map", "S Rome.sav", "Z readme.txt"};
};

// The buttons run the command on the selected line and are enabled only when they would act;
// a selection in one list clears the other's. After the command the focus stays on the list it
// came from and the package is selected where it went (MainWindowStateTest has the rule).
TEST_F(PackageCommandsTest, InstallAndDeinstallFromTheWindow) {
    const auto enabled = [this] {
        return std::pair{Button("installButton")->isEnabled(),
                         Button("deinstallButton")->isEnabled()};
    };
    EXPECT_EQ(enabled(), std::pair(false, false));
    Pick(window->AvailableList(), "rome.zip");
    EXPECT_EQ(Content(), romeContent);
    EXPECT_EQ(enabled(), std::pair(true, false));
    window->AvailableList()->setFocus();
    Click("installButton");
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    EXPECT_EQ(Available(), Lines({"carthage.zip"}));
    EXPECT_EQ(SelectedLine(window->InstalledList()), "rome.zip");
    EXPECT_EQ(Content(), romeContent);
    EXPECT_EQ(enabled(), std::pair(false, true));
    EXPECT_EQ(window->focusWidget(), window->AvailableList());

    Pick(window->AvailableList(), "carthage.zip");
    EXPECT_TRUE(window->InstalledList()->selectedItems().isEmpty());
    Pick(window->InstalledList(), "rome.zip");
    Click("deinstallButton");
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
    EXPECT_EQ(SelectedLine(window->AvailableList()), "rome.zip");
}

// A list is reached by the mnemonic of the frame around it.
TEST_F(PackageCommandsTest, EachFramesMnemonicFocusesItsList) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const std::pair<const char*, QListWidget*> cases[] = {
        {"groupInstalled", window->InstalledList()},
        {"groupAvailable", window->AvailableList()},
    };
    for (const auto& [frameName, list] : cases) {
        auto* frame = window->findChild<QGroupBox*>(QString::fromLatin1(frameName));
        ASSERT_NE(frame, nullptr) << frameName;
        QShortcutEvent shortcut(QKeySequence::mnemonic(frame->title()), 0);
        QCoreApplication::sendEvent(frame, &shortcut);
        EXPECT_EQ(window->focusWidget(), list) << frameName;
    }
}

// Each list runs its command on a double-click and on Enter; which keys ask for it, and that
// Enter never reaches the default button, is the list box's (ListBoxTest).
TEST_F(PackageCommandsTest, DoubleClickAndEnterRunTheListsCommand) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto doubleClick = [](QListWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    const auto enter = [](QListWidget* list, int row) {
        list->setFocus();
        list->setCurrentRow(row);
        QTest::keyClick(list, Qt::Key_Return);
    };

    doubleClick(window->AvailableList(), 1);
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    enter(window->InstalledList(), 0);
    EXPECT_TRUE(Installed().empty());
    enter(window->AvailableList(), 0);
    EXPECT_EQ(Installed(), Lines({"carthage.zip"}));
    doubleClick(window->InstalledList(), 0);
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(window->result(), 0);  // Enter did not reach the default button
}

}  // namespace
}  // namespace wendmoor
