#include "charts/result_tables_word.h"

#include "platform/word_document.h"

void WordResultParagraph(const resultTables& tables, std::size_t index, platform::WordDocument& document) {
    if (index >= tables.paragraphs.size()) return;
    document.SetBold(index < tables.paragraphBold.size() && tables.paragraphBold[index] != 0);
    document.SetColor(index < tables.paragraphColors.size() ? tables.paragraphColors[index] : platform::kBlack);
    document.TypeText(tables.paragraphs[index]);
}

void WordResultTable(const resultTables& tables, std::size_t index, platform::WordDocument& document) {
    if (index >= tables.tables.size()) return;
    const worldTable& t = tables.tables[index];
    const int table = document.AddTable(t.rows, t.columns);
    std::size_t cell = t.firstCell >= 0 ? static_cast<std::size_t>(t.firstCell) : tables.cells.size();
    for (int row = 1; row <= t.rows; ++row) {
        for (int column = 1; column <= t.columns; ++column, ++cell) {
            // A writer that left its table short has no cells beyond it: those stay empty.
            const std::string* text = tables.CellOf(index, row - 1, column - 1);
            if (!text) continue;
            const bool bold = cell < tables.cellBold.size() && tables.cellBold[cell] != 0;
            const platform::ColorRef color = cell < tables.cellColors.size() ? tables.cellColors[cell] : platform::kBlack;
            document.SetCell(table, row, column, *text, bold, color);
        }
    }
    document.TypeText("\n");
}

void WordResultItems(const resultTables& tables, platform::WordDocument& document) {
    std::size_t paragraph = 0, table = 0;
    for (const std::uint32_t kind : tables.itemKinds) {
        if (kind == 0) {
            const std::size_t index = paragraph < tables.paragraphIndex.size() ? tables.paragraphIndex[paragraph] : paragraph;
            WordResultParagraph(tables, index, document);
            ++paragraph;
        } else if (kind == 1) {
            WordResultTable(tables, table++, document);
        }
    }
}
