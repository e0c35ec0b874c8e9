#include "documents/html_report.h"

#include "charts/html_text.h"
#include "platform/format.h"

namespace {

std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension's point in the file name, npos when it has none.
std::size_t ExtensionPoint(const std::string& path) {
    const std::size_t point = path.find_last_of('.');
    return point == std::string::npos || point < NameStart(path) ? std::string::npos : point;
}

}  // namespace

std::string HtmlFigureFolder(const std::string& reportPath) {
    return reportPath.substr(0, ExtensionPoint(reportPath));
}

std::string HtmlLinkName(const std::string& folder) { return folder.substr(NameStart(folder)); }

std::string HtmlFigurePath(const std::string& folder, int figureNumber) {
    return platform::Format("%s/fig%d.jpg", folder.c_str(), figureNumber);
}

std::string HtmlReportPathFor(const std::string& documentPath) {
    return documentPath.substr(0, ExtensionPoint(documentPath)) + ".html";
}

std::string HtmlReportPathWithExtension(const std::string& chosenPath) {
    return ExtensionPoint(chosenPath) == std::string::npos ? chosenPath + ".html" : chosenPath;
}

void WriteHtmlHead(std::ostream& out, const std::string& title, const char* headingFormat) {
    const std::string text = EscapeHtml(title);
    out << platform::Format("<html><body><title>%s</title>\n", text.c_str());
    out << "<head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'></head>\n";
    std::string heading = headingFormat;
    const std::size_t slot = heading.find("%s");
    if (slot != std::string::npos) heading.replace(slot, 2, text);
    out << heading;
}

void WriteHtmlFigureLink(std::ostream& out, const std::string& linkName, int figureNumber) {
    const std::string name = EscapeHtml(linkName);
    out << platform::Format(
        "<p><a href='%s/fig%d.jpg' alt='Click to see original size'><img src='%s/fig%d.jpg' width=800 "
        "height=600></a><br>\n",
        name.c_str(), figureNumber, name.c_str(), figureNumber);
}
