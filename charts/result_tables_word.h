#pragma once
// The report copy of the results typed into a word-processor document: one paragraph, or
// one table of cells, with its bold flags and colours.
#include <cstddef>

#include "charts/result_tables.h"

namespace platform {
class WordDocument;
}

// Paragraph `index` of the tables in its bold flag and colour, its own line feeds
// included. An index outside the stored paragraphs does nothing.
void WordResultParagraph(const resultTables& tables, std::size_t index, platform::WordDocument& document);
// Table `index` with every cell in its bold flag and colour, then a line feed so that what
// follows stands below it. An index outside the stored tables does nothing.
void WordResultTable(const resultTables& tables, std::size_t index, platform::WordDocument& document);
// Every paragraph and table in the order the analysis wrote them.
void WordResultItems(const resultTables& tables, platform::WordDocument& document);
