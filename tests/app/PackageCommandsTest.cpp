// Content display, install and deinstall from the window, on Caesar III packages.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FakeSeams.h"
#include "ZipWriter.h"
#include "packages/Games.h"
#include "platform/FileSystem.h"
#include "widgets/ListBoxes.h"

namespace wendmoor {
namespace {

using testing::ListTree;
using testing::WindowTest;
using testing::ZipWriter;

using Lines = std::vector<std::string>;

class PackageCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        paths = Caesar3Folders();
        ASSERT_TRUE(ZipWriter()
                        .Add("Rome.MAP", "rome map")
                        .Add("maps/Rome.sav", "rome save")
                        .Add("readme.txt", "hello")
                        .WriteTo(paths.caesar3_missions + "rome.zip"));
        ASSERT_TRUE(ZipWriter()
                        .Add("Carthage.map", "carthage map")
                        .WriteTo(paths.caesar3_missions + "carthage.zip"));
        Open(paths);
        window->findChild<QRadioButton*>(QStringLiteral("caesar3Button"))->click();
        ASSERT_EQ(window->CurrentGame(), kCaesar3);
    }

    void Click(const char* name) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    // As the user's click on a line does it: the list reports the selection change.
    void Pick(QListWidget* list, const std::string& line) {
        const Lines lines = ListLines(list);
        const auto found = std::find(lines.begin(), lines.end(), line);
        ASSERT_NE(found, lines.end()) << line;
        list->setCurrentRow(static_cast<int>(found - lines.begin()));
    }
    Lines Content() const { return ListLines(window->ContentList()); }
    Lines Installed() const { return ListLines(window->InstalledList()); }
    Lines Available() const { return ListLines(window->AvailableList()); }
    bool NothingSelected() const {
        return window->InstalledList()->selectedItems().isEmpty() &&
               window->AvailableList()->selectedItems().isEmpty();
    }

    GamePaths paths;
};

TEST_F(PackageCommandsTest, InstallAndDeinstallFromTheWindow) {
    Pick(window->AvailableList(), "rome.zip");
    Click("installButton");
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    EXPECT_EQ(Available(), Lines({"carthage.zip"}));
    EXPECT_TRUE(Content().empty());
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(ListTree(paths.caesar3_path), "Rome.map\nRome.sav\n");
    EXPECT_EQ(window->CurrentGame(), kCaesar3);

    Pick(window->InstalledList(), "rome.zip");
    EXPECT_EQ(Content(), Lines({"M Rome.map", "S Rome.sav", "Z readme.txt"}));
    Click("installButton");  // nothing selected in "Available Missions": nothing changes
    EXPECT_EQ(Content(), Lines({"M Rome.map", "S Rome.sav", "Z readme.txt"}));
    EXPECT_EQ(SelectedLine(window->InstalledList()), "rome.zip");
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    Click("deinstallButton");
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
    EXPECT_TRUE(Content().empty());
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
}

TEST_F(PackageCommandsTest, SelectingInOneListClearsTheOther) {
    Pick(window->AvailableList(), "rome.zip");
    Click("installButton");
    Pick(window->InstalledList(), "rome.zip");
    Pick(window->AvailableList(), "carthage.zip");
    EXPECT_TRUE(window->InstalledList()->selectedItems().isEmpty());
    EXPECT_EQ(Content(), Lines({"M Carthage.map"}));
    Pick(window->InstalledList(), "rome.zip");
    EXPECT_TRUE(window->AvailableList()->selectedItems().isEmpty());
    EXPECT_EQ(Content(), Lines({"M Rome.map", "S Rome.sav", "Z readme.txt"}));
}

TEST_F(PackageCommandsTest, DoubleClickInstallsAndDeinstalls) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QListWidget* available = window->AvailableList();
    const QRect rome = available->visualItemRect(available->item(1));
    QTest::mouseClick(available->viewport(), Qt::LeftButton, {}, rome.center());
    EXPECT_EQ(Content(), Lines({"M Rome.map", "S Rome.sav", "Z readme.txt"}));
    QTest::mouseDClick(available->viewport(), Qt::LeftButton, {}, rome.center());
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    EXPECT_EQ(Available(), Lines({"carthage.zip"}));
    EXPECT_TRUE(Content().empty());
    EXPECT_TRUE(NothingSelected());

    QListWidget* installed = window->InstalledList();
    const QRect installedRome = installed->visualItemRect(installed->item(0));
    QTest::mouseClick(installed->viewport(), Qt::LeftButton, {}, installedRome.center());
    QTest::mouseDClick(installed->viewport(), Qt::LeftButton, {}, installedRome.center());
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
}

}  // namespace
}  // namespace wendmoor
