#include "app/ListBoxes.h"

#include <QListWidget>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace wendmoor {
namespace {

TEST(ListBoxesTest, LinesKeepTheirOrderAndBytes) {
    QListWidget list;
    const std::vector<std::string> lines = {"alpha.zip", "Beta.zip", "caf\xe9.zip", "delta.zip"};
    FillListBox(&list, lines);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Beta.zip"));
    EXPECT_EQ(ListLines(&list), lines);  // the bytes, not the shown text
    EXPECT_FALSE(list.isSortingEnabled());
}

TEST(ListBoxesTest, SelectedLineGivesTheBytes) {
    QListWidget list;
    FillListBox(&list, {"a.zip", std::string("\xff\xfe.zip")});
    EXPECT_EQ(SelectedLine(&list), std::nullopt);
    list.setCurrentRow(1);
    EXPECT_EQ(SelectedLine(&list), std::string("\xff\xfe.zip"));
    ClearListSelection(&list);
    EXPECT_EQ(SelectedLine(&list), std::nullopt);
}

TEST(ListBoxesTest, ProgrammaticChangesReportNoSelectionChange) {
    QListWidget list;
    FillListBox(&list, {"a.zip", "b.zip"});
    QSignalSpy spy(&list, &QListWidget::itemSelectionChanged);
    list.setCurrentRow(0);  // as the user's click would
    EXPECT_EQ(spy.count(), 1);
    ClearListSelection(&list);
    FillListBox(&list, {"c.zip"});
    ResetListBox(&list);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
}  // namespace wendmoor
