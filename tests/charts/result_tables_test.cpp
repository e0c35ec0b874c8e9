#include "charts/result_tables.h"

#include <gtest/gtest.h>

TEST(ResultTables, ParagraphsAndTablesKeepTheirOrder) {
    resultTables t;
    t.AddParagraph("stale");
    t.Clear();
    t.AddParagraphStyled("Coefficients:", 1, 0x0000FF);
    t.AddTable(3, 4);
    for (int i = 0; i < 12; ++i) t.AddCellStyled("c" + std::to_string(i), i == 0, 0x00FF00);
    t.AddParagraph("Coefficient of correlation");
    t.AddTable(2, 2);
    for (int i = 0; i < 3; ++i) t.AddCell("d" + std::to_string(i));  // writer left it short
    t.AddTable(1, 1);
    t.AddCell("e");

    EXPECT_EQ(t.itemKinds, (std::vector<std::uint32_t>{0, 1, 0, 1, 1}));
    EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"Coefficients:", "Coefficient of correlation"}));
    EXPECT_EQ(t.paragraphIndex, (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(t.paragraphBold, (std::vector<std::uint32_t>{1, 0}));
    EXPECT_EQ(t.paragraphColors, (std::vector<platform::ColorRef>{0x0000FF, 0}));
    ASSERT_EQ(t.tables.size(), 3u);
    EXPECT_EQ(t.tables[0].firstCell, 0);
    EXPECT_EQ(t.tables[1].firstCell, 12);
    EXPECT_EQ(t.tables[2].firstCell, 15);  // counts the cells really appended
    EXPECT_EQ(t.currentTable.firstCell, 15);
    EXPECT_EQ(t.cells.size(), 16u);
    EXPECT_EQ(t.cellIndex.size(), 16u);
    EXPECT_EQ(t.cellIndex[15], 15u);
    EXPECT_EQ(t.cellBold[0], 1u);
    EXPECT_EQ(t.cellColors[0], 0x00FF00u);
    EXPECT_EQ(t.cellColors[12], 0u);

    ASSERT_NE(t.CellOf(0, 2, 3), nullptr);
    EXPECT_EQ(*t.CellOf(0, 2, 3), "c11");
    EXPECT_EQ(*t.CellOf(1, 1, 0), "d2");
    EXPECT_EQ(t.CellOf(1, 1, 1), nullptr);  // missing cell, not the next table's
    EXPECT_EQ(t.CellOf(0, 3, 0), nullptr);
    EXPECT_EQ(t.CellOf(7, 0, 0), nullptr);

    t.Clear();
    EXPECT_TRUE(t.itemKinds.empty() && t.cells.empty() && t.tables.empty() && t.paragraphColors.empty());
}
