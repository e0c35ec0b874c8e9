#pragma once
// Names and fixed pieces of the HTML reports: the figure folder beside the report, the links
// to its figures, the head both reports open with.
#include <ostream>
#include <string>

// The report path without the extension of its file name: "/r/rep.html" gives "/r/rep", and
// a point in a folder name is not taken ("/my.data/rep" stays itself).
std::string HtmlFigureFolder(const std::string& reportPath);
// The folder's last component, the name the report's links use.
std::string HtmlLinkName(const std::string& folder);
std::string HtmlFigurePath(const std::string& folder, int figureNumber);
// A report name for a document: the extension of its file name replaced by ".html" (added
// when it has none), so the report never takes the document's own name.
std::string HtmlReportPathFor(const std::string& documentPath);
// A chosen report name without extension gets ".html", so its figure folder differs from it.
std::string HtmlReportPathWithExtension(const std::string& chosenPath);

// Title, head declaring UTF-8 (the text written) and the heading line; the heading format
// holds one "%s" for the title, which is escaped.
void WriteHtmlHead(std::ostream& out, const std::string& title, const char* headingFormat);
// The figure's link, its picture shown at 800 x 600.
void WriteHtmlFigureLink(std::ostream& out, const std::string& linkName, int figureNumber);
