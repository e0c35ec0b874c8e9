#include "charts/html_text.h"
#include "charts/result_tables.h"
#include "platform/format.h"

namespace {

void WriteStyled(std::ostream& out, std::string text, std::uint32_t bold, platform::ColorRef color,
                 const char* after) {
    ResultTextToHtml(text);
    const std::string colour = ColorToHtml(color);
    out << platform::Format(bold != 0 ? "<font color=%s><b>%s</b></font>%s" : "<font color=%s>%s</font>%s",
                            colour.c_str(), text.c_str(), after);
}

}  // namespace

void resultTables::WriteHtmlParagraph(std::ostream& out, int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= paragraphs.size()) return;
    std::string text = EscapeHtml(paragraphs[index]);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 5)) {
        text.replace(at, 1, "<br>\n");
    }
    WriteStyled(out, text, paragraphBold[index], paragraphColors[index], "");
}

void resultTables::WriteHtmlTable(std::ostream& out, int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= tables.size()) return;
    const worldTable& table = tables[index];
    out << "<table border=1 CELLPADDING=5 CELLSPACING=0>\n";
    for (int row = 0; row < table.rows; ++row) {
        out << "<tr>\n";
        for (int column = 0; column < table.columns; ++column) {
            out << "<td>\n";
            // A cell the analysis left short stays empty rather than borrowing the next table's.
            if (const std::string* cell = CellOf(index, row, column)) {
                const std::size_t at = static_cast<std::size_t>(cell - cells.data());
                WriteStyled(out, EscapeHtml(*cell), cellBold[at], cellColors[at], "\n");
            }
            out << "</td>\n";
        }
        out << "</tr>\n";
    }
    out << "</table>\n";
}
