#include "widgets/ListBoxes.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace wendmoor {
namespace {

// Only a line the box's edge cuts off has a tooltip.
TEST(ListBoxesTest, OnlyLinesCutOffAreSaidSo) {
    ListBox list;
    list.resize(160, 100);
    FillListBox(&list, {"a.zip", std::string(200, 'x') + ".zip"});
    list.show();
    EXPECT_FALSE(list.IsLineCutOff(0));
    EXPECT_TRUE(list.IsLineCutOff(1));
    EXPECT_FALSE(list.IsLineCutOff(2));
}

// --- ListBox: keys ---

struct KeyCase {
    const char* what;
    int selectedBefore;  // -1: nothing selected (the focus row is row 1)
    Qt::Key key;
    int selectedAfter;
    int commands;  // commandRequested signals
};

const KeyCase kKeyCases[] = {
    {"first Down selects the first row", -1, Qt::Key_Down, 0, 0},
    {"Down moves on from a selection", 0, Qt::Key_Down, 1, 0},
    {"Enter asks for the command of the selected row", 2, Qt::Key_Return, 2, 1},
    {"keypad Enter too", 1, Qt::Key_Enter, 1, 1},
    {"Enter with nothing selected asks for nothing", -1, Qt::Key_Return, -1, 0},
};

TEST(ListBoxTest, KeysSelectAndAskForTheCommandWithoutReachingTheDefaultButton) {
    for (const KeyCase& key : kKeyCases) {
        SCOPED_TRACE(key.what);
        QDialog window;
        auto* bye = new QPushButton(QStringLiteral("Bye"), &window);
        bye->setDefault(true);
        auto* list = new ListBox(&window);
        FillListBox(list, {"a.zip", "b.zip", "c.zip"});
        window.show();
        list->setFocus();
        list->setCurrentRow(key.selectedBefore < 0 ? 1 : key.selectedBefore);
        if (key.selectedBefore < 0) SelectListLine(list, std::nullopt);
        QSignalSpy commands(list, &ListBox::commandRequested);
        QSignalSpy byeClicks(bye, &QPushButton::clicked);

        QTest::keyClick(list, key.key);

        EXPECT_EQ(commands.count(), key.commands);
        EXPECT_EQ(byeClicks.count(), 0);
        EXPECT_TRUE(window.isVisible());
        const auto selected = list->selectedItems();
        EXPECT_EQ(selected.isEmpty() ? -1 : list->row(selected.first()), key.selectedAfter);
    }
}

}  // namespace
}  // namespace wendmoor
