// Content display, install and deinstall from the window, on Caesar III packages. Where the
// files go is the session's (tests/packages); the window shows the lists it keeps.
#include <QListWidget>
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
    bool NothingSelected() const {
        return window->InstalledList()->selectedItems().isEmpty() &&
               window->AvailableList()->selectedItems().isEmpty();
    }

    const Lines romeContent = {"M Rome.map", "S Rome.sav", "Z readme.txt"};
};

// The buttons run the command on the selected line; a selection in one list clears the other's.
TEST_F(PackageCommandsTest, InstallAndDeinstallFromTheWindow) {
    Pick(window->AvailableList(), "rome.zip");
    EXPECT_EQ(Content(), romeContent);
    Click("installButton");
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    EXPECT_EQ(Available(), Lines({"carthage.zip"}));
    EXPECT_TRUE(Content().empty());
    EXPECT_TRUE(NothingSelected());

    Pick(window->InstalledList(), "rome.zip");
    Pick(window->AvailableList(), "carthage.zip");
    EXPECT_TRUE(window->InstalledList()->selectedItems().isEmpty());
    EXPECT_EQ(Content(), Lines({"M Carthage.map"}));
    Pick(window->InstalledList(), "rome.zip");
    EXPECT_TRUE(window->AvailableList()->selectedItems().isEmpty());
    EXPECT_EQ(Content(), romeContent);
    Click("installButton");  // nothing selected in "Available Missions": nothing changes
    EXPECT_EQ(Content(), romeContent);
    EXPECT_EQ(SelectedLine(window->InstalledList()), "rome.zip");
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));

    Click("deinstallButton");
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
    EXPECT_TRUE(Content().empty());
    EXPECT_TRUE(NothingSelected());
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
