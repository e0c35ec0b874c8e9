#include "charts/result_tables.h"

resultTables theResultTables;

void resultTables::Clear() {
    paragraphs.clear();
    cells.clear();
    paragraphBold.clear();
    cellBold.clear();
    paragraphColors.clear();
    cellColors.clear();
    itemKinds.clear();
    paragraphIndex.clear();
    cellIndex.clear();
    tables.clear();
    currentTable = worldTable{};
}

void resultTables::AddParagraph(const std::string& text) { AddParagraphStyled(text, 0, platform::kBlack); }

void resultTables::AddParagraphStyled(const std::string& text, std::uint32_t bold, platform::ColorRef color) {
    paragraphIndex.push_back(static_cast<std::uint32_t>(paragraphs.size()));
    paragraphBold.push_back(bold);
    paragraphColors.push_back(color);
    paragraphs.push_back(text);
    itemKinds.push_back(0);
}

void resultTables::AddTable(int rows, int columns) {
    currentTable = worldTable{rows, columns, static_cast<std::int32_t>(cells.size())};
    tables.push_back(currentTable);
    itemKinds.push_back(1);
}

void resultTables::AddCell(const std::string& text) { AddCellStyled(text, 0, platform::kBlack); }

void resultTables::AddCellStyled(const std::string& text, std::uint32_t bold, platform::ColorRef color) {
    cellIndex.push_back(static_cast<std::uint32_t>(cells.size()));
    cellBold.push_back(bold);
    cellColors.push_back(color);
    cells.push_back(text);
}

const std::string* resultTables::CellOf(std::size_t tableIndex, int row, int column) const {
    if (tableIndex >= tables.size()) return nullptr;
    const worldTable& table = tables[tableIndex];
    if (row < 0 || column < 0 || row >= table.rows || column >= table.columns) return nullptr;
    const long long end = tableIndex + 1 < tables.size() ? tables[tableIndex + 1].firstCell
                                                         : static_cast<long long>(cells.size());
    const long long index = static_cast<long long>(table.firstCell) +
                            static_cast<long long>(row) * table.columns + column;
    if (index < 0 || index >= end) return nullptr;
    return &cells[static_cast<std::size_t>(index)];
}
