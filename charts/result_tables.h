#pragma once
// The report copy of what the last analysis found: plain paragraphs and tables of cells,
// each with a bold flag and a colour, in the order the analysis wrote them. The HTML and
// word-processor reports walk `itemKinds` and read the paragraphs and tables back.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/color.h"

// One table: its cells are the rows x columns consecutive entries of resultTables::cells
// from firstCell on, row by row.
struct worldTable {
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::int32_t firstCell = 0;
};

class resultTables {
public:
    std::vector<std::string> paragraphs;
    std::vector<std::string> cells;
    std::vector<std::uint32_t> paragraphBold;  // non-zero = bold
    std::vector<std::uint32_t> cellBold;
    std::vector<platform::ColorRef> paragraphColors;
    std::vector<platform::ColorRef> cellColors;
    std::vector<std::uint32_t> itemKinds;       // 0 paragraph, 1 table, in order of appending
    std::vector<std::uint32_t> paragraphIndex;  // n-th paragraph item -> its text (always n)
    std::vector<std::uint32_t> cellIndex;       // n-th cell -> its text (always n)
    std::vector<worldTable> tables;
    worldTable currentTable;  // the table last appended

    void Clear();
    void AddParagraph(const std::string& text);
    void AddParagraphStyled(const std::string& text, std::uint32_t bold, platform::ColorRef color);
    // Starts a table; the writer then appends exactly rows x columns cells row by row.
    void AddTable(int rows, int columns);
    void AddCell(const std::string& text);
    void AddCellStyled(const std::string& text, std::uint32_t bold, platform::ColorRef color);

    // A cell of a table; nullptr outside the table and for the cells its writer left
    // short (the next table's cells are not taken for them).
    const std::string* CellOf(std::size_t tableIndex, int row, int column) const;

    // The HTML of one paragraph or table (escaped, then marked up); an index outside the
    // store writes nothing.
    void WriteHtmlParagraph(std::ostream& out, int paragraphIndex) const;
    void WriteHtmlTable(std::ostream& out, int tableIndex) const;
};

// The one program-wide instance.
extern resultTables theResultTables;
