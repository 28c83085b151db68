// The main window and the About box as the templates lay them out.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "FakeSeams.h"
#include "app/AboutDialog.h"
#include "app/DialogUnits.h"

namespace wendmoor {
namespace {

using testing::WindowTest;

class MainDialogLayoutTest : public WindowTest {};

TEST_F(MainDialogLayoutTest, ControlsStandAtTheirDialogUnitRectangles) {
    Open(Caesar3Folders());
    const DialogUnits units(window->font());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Wendmoor"));
    EXPECT_EQ(window->size(), units.Size(407, 346));

    const struct {
        const char* id;
        const char* text;
        QRect rect;
    } controls[] = {
        {"1", "Bye Bye ...", units.Rect(360, 10, 40, 14)},
        {"1016", "<- Install", units.Rect(180, 95, 45, 35)},
        {"1017", "Deinstall ->", units.Rect(180, 137, 45, 35)},
        {"1000", "Options", units.Rect(315, 10, 40, 15)},
        {"1013", "Pharao", units.Rect(70, 10, 55, 10)},
        {"1015", "Zeus", units.Rect(130, 10, 55, 10)},
        {"1014", "DEK", units.Rect(190, 10, 55, 10)},
        {"1018", "Caesar III", units.Rect(10, 10, 55, 10)},
        {"1001", "Help", units.Rect(270, 10, 40, 15)},
        {"1049", "Start", units.Rect(180, 34, 45, 35)},
    };
    for (const auto& control : controls) {
        SCOPED_TRACE(control.id);
        auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(control.id));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(control.text));
        EXPECT_EQ(button->geometry(), control.rect);
    }
    EXPECT_EQ(window->InstalledList()->geometry(), units.Rect(10, 40, 160, 190));
    EXPECT_EQ(window->AvailableList()->geometry(), units.Rect(235, 40, 160, 190));
    EXPECT_EQ(window->ContentList()->geometry(), units.Rect(10, 250, 385, 85));
    EXPECT_EQ(window->InstalledList()->objectName(), QStringLiteral("1008"));
    EXPECT_EQ(window->AvailableList()->objectName(), QStringLiteral("1009"));
    EXPECT_EQ(window->ContentList()->objectName(), QStringLiteral("1010"));

    QStringList groups;
    for (const QGroupBox* box : window->findChildren<QGroupBox*>()) groups << box->title();
    EXPECT_EQ(groups, QStringList({"Select Game", "Installed Missions", "Available Missions",
                                   "Zipfile Content"}));
    EXPECT_EQ(window->findChild<QGroupBox*>(QStringLiteral("groupContent"))->geometry(),
              units.Rect(5, 240, 395, 100));
    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("1"))->isDefault());
}

TEST_F(MainDialogLayoutTest, ListBoxesAreSingleSelectionAndUnsorted) {
    Open(Caesar3Folders());
    for (QListWidget* list :
         {window->InstalledList(), window->AvailableList(), window->ContentList()}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_FALSE(list->isSortingEnabled());
        EXPECT_EQ(list->count(), 0);
    }
}

TEST_F(MainDialogLayoutTest, NoGameIsMarkedAtStart) {
    Open(Caesar3Folders());
    for (const QRadioButton* radio : window->findChildren<QRadioButton*>()) {
        EXPECT_FALSE(radio->isChecked()) << radio->text().toStdString();
    }
    EXPECT_EQ(window->CurrentGame(), 0);
}

TEST_F(MainDialogLayoutTest, TabOrderIsTheTemplateOrder) {
    Open(Caesar3Folders());
    QStringList order;
    QWidget* widget = window->findChild<QWidget*>(QStringLiteral("1"));
    for (int i = 0; i < 13; ++i) {
        order << widget->objectName();
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus || widget->parentWidget() != window.get());
    }
    EXPECT_EQ(order, QStringList({"1", "1016", "1017", "1008", "1009", "1000", "1013", "1015",
                                  "1014", "1010", "1018", "1001", "1049"}));
}

TEST_F(MainDialogLayoutTest, TheWindowHasAnIcon) {
    Open(Caesar3Folders());
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(MainDialogLayoutTest, GroupBoxesFrameTheirControlsAndPaint) {
    Open(Caesar3Folders());
    const QGroupBox* content = window->findChild<QGroupBox*>(QStringLiteral("groupContent"));
    EXPECT_TRUE(content->geometry().contains(window->ContentList()->geometry()));
    EXPECT_EQ(content->focusPolicy(), Qt::NoFocus);
    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window->size() * image.devicePixelRatio());
}

TEST(AboutDialogTest, TitleVersionAndOk) {
    AboutDialog about;
    const DialogUnits units(about.font());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info über QARN"));
    EXPECT_EQ(about.size(), units.Size(192, 106));
    auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Wendmoor Version 1.08"));
    EXPECT_EQ(version->geometry(), units.Rect(40, 10, 138, 20));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->geometry(), units.Rect(70, 80, 50, 14));
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace wendmoor
