// Finding the games from the window (the first start, "Find games") and adding packages to it
// (drops, "Add packages...", files on the command line).
#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "FakeSeams.h"
#include "finder/GameFinder.h"
#include "options/OptionsDialog.h"

namespace wendmoor {
namespace {

using namespace testing;

// The window tests find at most one folder a row: choosing among several is the finder's
// (tests/finder), so nobody is asked.
class NoFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(ParentWindow, const std::string&,
                                          const std::vector<std::string>&) override {
        ADD_FAILURE() << "a folder choice was asked for";
        return std::nullopt;
    }
};

// The window with a finder that looks in a fake home in the test's temporary folder.
class FinderWindowTest : public WindowTest {
  protected:
    FinderWindowTest() {
        finder.places.home = home;
        services.finder = &finder;
    }

    std::string home = dir.MakeFolder("home");
    NoFolderPicker picker;
    ScriptedPackageFiles packageFiles;
    ScriptedSameName sameName;
    FinderServices finder{{}, picker, packageFiles, sameName};
};

QString Origin(OptionsDialog& dialog, const char* field) {
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(field) + QStringLiteral("Origin"));
    return label != nullptr && !label->isHidden() ? label->text() : QStringLiteral("(none)");
}

// --- finding -------------------------------------------------------------------------------

TEST_F(FinderWindowTest, FirstStartOffersTheFoundFoldersAndSavesThemOnOk) {
    dir.WriteFile("home/.wine/drive_c/GOG Games/Zeus/ZEUS.EXE", "MZ");
    dir.MakeFolder("home/.wine/drive_c/GOG Games/Zeus/Save/Anna");
    window = std::make_unique<MainDialog>(store, services);
    dialogs.Expect(Accept());
    GamePaths offered;
    dialogs.Expect(Work<OptionsDialog>([&](OptionsDialog& options) {
        offered = options.WorkingPaths();
        EXPECT_EQ(offered.zeus_path, home + ".wine/drive_c/GOG Games/Zeus/");
        EXPECT_EQ(Origin(options, "zeus_path"), QStringLiteral("found: Wine prefix ~/.wine/"));
        EXPECT_EQ(Origin(options, "zeus_saves"),
                  QStringLiteral("found: player Anna's folder in Save"));
        EXPECT_EQ(Origin(options, "zeus_missions"),
                  QStringLiteral("proposed: made when you click OK"));
        EXPECT_EQ(ListTree(home + "Documents/"), "");  // not before OK
        options.accept();
    }));
    ASSERT_TRUE(window->InitDialog());
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kAboutBoxTitle, kOptionsDialogTitle}));

    GamePaths saved;
    LoadGamePaths(saved, store);
    EXPECT_EQ(saved, offered);
    EXPECT_EQ(ListTree(home + "Documents/"), "Wendmoor/\nWendmoor/Zeus/\n");
}

// --- adding --------------------------------------------------------------------------------

class AddPackagesTest : public FinderWindowTest {
  protected:
    void SetUp() override {
        FinderWindowTest::SetUp();
        OpenOnCaesar3({{"Rome.zip", ZipWriter().Add("Old.map", "old")}});
    }

    // A drag over the window and a drop of the files, given as bytes.
    bool Drop(const Lines& files) {
        QList<QUrl> urls;
        for (const std::string& file : files) {
            urls << QUrl::fromEncoded("file://" +
                                      QByteArray::fromStdString(file).toPercentEncoding("/"));
        }
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
        return true;
    }

    QAction* AddCommand() { return window->findChild<QAction*>("addPackagesCommand"); }
    TempDir downloads;
};

TEST_F(AddPackagesTest, ADropOfThreeFilesAddsThePackagesAndNamesTheRefusedOne) {
    const std::string rome =
        downloads.WriteFile("Rome.zip", ZipWriter().Add("Rome.map", "m").Bytes());
    const std::string bytesName =
        downloads.WriteFile("R\xf6m \xe4.zip", ZipWriter().Add("a.sav", "s").Bytes());
    const std::string readme =
        downloads.WriteFile("readme.zip", ZipWriter().Add("readme.txt", "hi").Bytes());

    ASSERT_TRUE(Drop({rome, bytesName, readme}));
    ASSERT_EQ(sameName.asked.size(), 1u);
    EXPECT_NE(sameName.asked[0].find("\"Rome (2).zip\""), std::string::npos);
    EXPECT_EQ(Available(), Lines({"Rome (2).zip", "Rome.zip", "R\xf6m \xe4.zip"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second,
              "Not added:\n" + readme +
                  ": is not a Caesar III package: it holds nothing Caesar III installs\n");

    QMimeData text;
    text.setText(QStringLiteral("no files"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(AddPackagesTest, AddPackagesAsksForFilesOnlyWhenAGameIsSelected) {
    packageFiles.answer = {
        downloads.WriteFile("Carthage.zip", ZipWriter().Add("C.map", "c").Bytes())};
    AddCommand()->trigger();
    EXPECT_EQ(Available(), Lines({"Carthage.zip", "Rome.zip"}));
    AddCommand()->trigger();  // opens where the last files came from
    EXPECT_EQ(packageFiles.startFolders, Lines({"", downloads.path()}));
    ASSERT_EQ(messages.shown.size(), 1u);  // the same bytes again: said, not copied
    EXPECT_EQ(messages.shown[0].second, "Not added:\n" + packageFiles.answer[0] +
                                            ": the missions folder has it already, as "
                                            "Carthage.zip\n");

    dialogs.Expect(Reject());
    Click("pharaoButton");  // Pharao: no folders
    messages.shown.clear();
    AddCommand()->trigger();
    EXPECT_EQ(packageFiles.asked, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second,
              "Choose a game first: packages are added to its missions folder.");
}

// Files the program was started with, no game selected: the window asks for which game and
// adds them as a drop does; a cancelled question adds nothing.
TEST_F(FinderWindowTest, FilesFromTheCommandLineGoToTheGameTheUserChooses) {
    Open(Caesar3Folders());
    const TempDir downloads;
    const std::string carthage =
        downloads.WriteFile("Carthage.zip", ZipWriter().Add("C.map", "c").Bytes());
    dialogs.Expect(Reject());
    window->AddFilesFromCommandLine({carthage});
    EXPECT_EQ(window->CurrentGame(), 0);
    dialogs.Expect(Work<QInputDialog>([](QInputDialog& question) {
        question.setTextValue(QStringLiteral("Caesar III"));
        question.accept();
    }));
    window->AddFilesFromCommandLine({carthage});
    EXPECT_EQ(window->CurrentGame(), int{kCaesar3});
    EXPECT_EQ(Available(), Lines({"Carthage.zip"}));
}

}  // namespace
}  // namespace wendmoor
