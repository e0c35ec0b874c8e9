#include "charts/result_tables.h"

#include <string>
#include <tuple>

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
    // The third table's first cell counts the cells really appended.
    EXPECT_EQ(std::tie(t.tables[0].firstCell, t.tables[1].firstCell, t.tables[2].firstCell, t.currentTable.firstCell),
              std::make_tuple(0, 12, 15, 15));
    EXPECT_EQ(std::make_tuple(t.cells.size(), t.cellIndex.size(), t.cellIndex.at(15)),
              std::make_tuple(std::size_t{16}, std::size_t{16}, 15u));
    EXPECT_EQ(std::tie(t.cellBold[0], t.cellColors[0], t.cellColors[12]), std::make_tuple(1u, 0x00FF00u, 0u));

    // A missing cell is not the next table's.
    const struct { std::size_t table; int row, column; const char* text; } cells[] = {
        {0, 2, 3, "c11"}, {1, 1, 0, "d2"}, {1, 1, 1, "(none)"}, {0, 3, 0, "(none)"}, {7, 0, 0, "(none)"}};
    for (const auto& c : cells) {
        const std::string* cell = t.CellOf(c.table, c.row, c.column);
        EXPECT_EQ(cell ? *cell : "(none)", c.text) << c.table << ": " << c.row << ", " << c.column;
    }

    t.Clear();
    EXPECT_TRUE(t.itemKinds.empty() && t.cells.empty() && t.tables.empty() && t.paragraphColors.empty());
}
