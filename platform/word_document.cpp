#include "platform/word_document.h"

#include <cstdio>
#include <utility>

#include <zip.h>

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/system.h"

namespace platform {

namespace {

constexpr long long kEmuPerPixel = 9525;  // at 96 pixels per inch

std::string HexColor(ColorRef c) {
    return Format("%02X%02X%02X", static_cast<unsigned>(RedOf(c)), static_cast<unsigned>(GreenOf(c)),
                  static_cast<unsigned>(BlueOf(c)));
}

std::string RunProperties(bool bold, ColorRef color, double size) {
    std::string p = "<w:rPr>";
    if (bold) p += "<w:b/>";
    p += "<w:color w:val=\"" + HexColor(color) + "\"/>";
    const int halfPoints = static_cast<int>(size * 2 + 0.5);
    if (halfPoints > 0) p += Format("<w:sz w:val=\"%d\"/>", halfPoints);
    return p + "</w:rPr>";
}

std::string TextRun(const std::string& text, bool bold, ColorRef color, double size) {
    return "<w:r>" + RunProperties(bold, color, size) + "<w:t xml:space=\"preserve\">" + XmlText(text) +
           "</w:t></w:r>";
}

std::string PictureRun(int index, const QImage& image) {
    const long long cx = image.width() * kEmuPerPixel, cy = image.height() * kEmuPerPixel;
    const int id = index + 1;
    return Format(
        "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
        "<wp:extent cx=\"%lld\" cy=\"%lld\"/><wp:docPr id=\"%d\" name=\"Picture %d\"/>"
        "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
        "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:nvPicPr><pic:cNvPr id=\"%d\" name=\"image%d.png\"/><pic:cNvPicPr/></pic:nvPicPr>"
        "<pic:blipFill><a:blip r:embed=\"rIdImage%d\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
        "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%lld\" cy=\"%lld\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic>"
        "</wp:inline></w:drawing></w:r>",
        cx, cy, id, id, id, id, id, cx, cy);
}

QByteArray PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const char* kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Default Extension=\"png\" ContentType=\"image/png\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

const char* kPackageRelations =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

PrintPreviewRunner& PreviewRunner() {
    static PrintPreviewRunner runner;
    return runner;
}

}  // namespace

std::string XmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += static_cast<char>(c);
            }
            continue;
        }
        // A multi-byte sequence is kept only when it is well formed and not U+FFFE / U+FFFF.
        const int length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? (c <= 0xEF ? 3 : 0) : c >= 0xC2 ? 2 : 0;
        bool whole = length > 0 && i + length <= text.size();
        unsigned code = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        for (int k = 1; whole && k < length; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            whole = (b & 0xC0) == 0x80;
            code = (code << 6) | (b & 0x3F);
        }
        whole = whole && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF)) && code != 0xFFFE && code != 0xFFFF;
        if (whole) {
            out.append(text, i, static_cast<std::size_t>(length));
            i += static_cast<std::size_t>(length);
        } else {
            ++i;
        }
    }
    return out;
}

WordDocument::Block& WordDocument::CurrentParagraph() {
    if (!open_) {
        blocks_.emplace_back();
        open_ = true;
    }
    return blocks_.back();
}

void WordDocument::TypeText(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        Block& paragraph = CurrentParagraph();  // a line feed alone still makes a (blank) paragraph
        if (!piece.empty()) paragraph.runs.push_back(Run{piece, bold_, color_, size_, -1});
        if (end == std::string::npos) break;
        open_ = false;
        start = end + 1;
    }
}

void WordDocument::AddParagraph() {
    CurrentParagraph();
    open_ = false;
}

void WordDocument::InsertPicture(const QImage& image) {
    if (image.isNull()) return;
    pictures_.push_back(image);
    CurrentParagraph().runs.push_back(Run{std::string(), false, kBlack, size_, static_cast<int>(pictures_.size()) - 1});
}

void WordDocument::Paste() {
    if (HasClipboardImage())
        InsertPicture(ClipboardImage());
    else
        TypeText(ClipboardText());
}

int WordDocument::AddTable(int rows, int columns) {
    Block table;
    table.isTable = true;
    table.rows = rows > 0 ? rows : 0;
    table.columns = columns > 0 ? columns : 0;
    table.cells.resize(static_cast<std::size_t>(table.rows) * static_cast<std::size_t>(table.columns));
    blocks_.push_back(std::move(table));
    open_ = false;
    tables_.push_back(static_cast<int>(blocks_.size()) - 1);
    return static_cast<int>(tables_.size()) - 1;
}

void WordDocument::SetCell(int table, int row, int column, const std::string& text, bool bold, ColorRef color) {
    if (table < 0 || table >= static_cast<int>(tables_.size())) return;
    Block& t = blocks_[static_cast<std::size_t>(tables_[static_cast<std::size_t>(table)])];
    if (row < 1 || row > t.rows || column < 1 || column > t.columns) return;
    t.cells[static_cast<std::size_t>((row - 1) * t.columns + (column - 1))] = Cell{text, bold, color};
}

std::string WordDocument::DocumentXml() const {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\"><w:body>";
    for (const Block& b : blocks_) {
        if (!b.isTable) {
            xml += "<w:p>";
            for (const Run& r : b.runs)
                xml += r.picture >= 0 ? PictureRun(r.picture, pictures_[static_cast<std::size_t>(r.picture)])
                                      : TextRun(r.text, r.bold, r.color, r.size);
            xml += "</w:p>";
            continue;
        }
        if (b.rows == 0 || b.columns == 0) continue;
        xml += "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>"
               "<w:tblBorders><w:top w:val=\"single\" w:sz=\"4\"/><w:left w:val=\"single\" w:sz=\"4\"/>"
               "<w:bottom w:val=\"single\" w:sz=\"4\"/><w:right w:val=\"single\" w:sz=\"4\"/>"
               "<w:insideH w:val=\"single\" w:sz=\"4\"/><w:insideV w:val=\"single\" w:sz=\"4\"/></w:tblBorders>"
               "</w:tblPr><w:tblGrid>";
        for (int c = 0; c < b.columns; ++c) xml += "<w:gridCol/>";
        xml += "</w:tblGrid>";
        for (int r = 0; r < b.rows; ++r) {
            xml += "<w:tr>";
            for (int c = 0; c < b.columns; ++c) {
                const Cell& cell = b.cells[static_cast<std::size_t>(r * b.columns + c)];
                xml += "<w:tc><w:p>";
                if (!cell.text.empty()) xml += TextRun(cell.text, cell.bold, cell.color, 0);
                xml += "</w:p></w:tc>";
            }
            xml += "</w:tr>";
        }
        xml += "</w:tbl>";
    }
    // A body ends with a paragraph; one after a last table keeps the document valid.
    if (blocks_.empty() || blocks_.back().isTable) xml += "<w:p/>";
    return xml + "</w:body></w:document>";
}

bool WordDocument::Save(const std::string& path, std::string& error) const {
    std::vector<std::pair<std::string, QByteArray>> parts;
    parts.emplace_back("[Content_Types].xml", QByteArray(kContentTypes));
    parts.emplace_back("_rels/.rels", QByteArray(kPackageRelations));
    const std::string document = DocumentXml();
    parts.emplace_back("word/document.xml", QByteArray(document.data(), static_cast<qsizetype>(document.size())));
    std::string relations =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        relations += Format("<Relationship Id=\"rIdImage%zu\" "
                            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                            "Target=\"media/image%zu.png\"/>",
                            i + 1, i + 1);
        parts.emplace_back(Format("word/media/image%zu.png", i + 1), PngOf(pictures_[i]));
    }
    relations += "</Relationships>";
    parts.emplace_back("word/_rels/document.xml.rels", QByteArray(relations.data(), static_cast<qsizetype>(relations.size())));

    int code = 0;
    const QByteArray encoded = QFile::encodeName(QString::fromUtf8(path.c_str()));
    zip_t* archive = zip_open(encoded.constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        error = zip_error_strerror(&e);
        zip_error_fini(&e);
        return false;
    }
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (source) zip_source_free(source);
            error = zip_strerror(archive);
            zip_discard(archive);
            return false;
        }
    }
    // The buffers stay alive until here: the archive reads them when it is closed.
    if (zip_close(archive) < 0) {
        error = zip_strerror(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

void WordDocument::FillTextDocument(QTextDocument& document) const {
    document.clear();
    QTextCursor cursor(&document);
    bool first = true;
    const auto format = [](bool bold, ColorRef color, double size) {
        QTextCharFormat f;
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        f.setForeground(ToQColor(color));
        if (size > 0) f.setFontPointSize(size);
        return f;
    };
    for (const Block& b : blocks_) {
        if (!first) cursor.insertBlock();
        first = false;
        if (!b.isTable) {
            for (const Run& r : b.runs) {
                if (r.picture >= 0)
                    cursor.insertImage(pictures_[static_cast<std::size_t>(r.picture)]);
                else
                    cursor.insertText(QString::fromUtf8(r.text.c_str()), format(r.bold, r.color, r.size));
            }
            continue;
        }
        if (b.rows == 0 || b.columns == 0) continue;
        QTextTable* table = cursor.insertTable(b.rows, b.columns);
        for (int r = 0; r < b.rows; ++r) {
            for (int c = 0; c < b.columns; ++c) {
                const Cell& cell = b.cells[static_cast<std::size_t>(r * b.columns + c)];
                QTextCursor at = table->cellAt(r, c).firstCursorPosition();
                at.insertText(QString::fromUtf8(cell.text.c_str()), format(cell.bold, cell.color, 0));
            }
        }
        cursor.movePosition(QTextCursor::End);
    }
}

std::string OpenWordDocument(const WordDocument& document, std::string& error) {
    // The user's data folder keeps the report: the temporary folder is emptied at the next
    // start of the system, and the report is all the user has when no application opens it.
    QString folder = QString::fromStdString(UserDataFolder());
    if (folder.isEmpty() || !QDir().mkpath(folder)) folder = QDir::currentPath();
    QTemporaryFile file(folder + "/tabulon-report-XXXXXX.docx");
    file.setAutoRemove(false);  // the desktop's application reads it after we are done
    if (!file.open()) {
        error = file.errorString().toStdString();
        return std::string();
    }
    const std::string path = file.fileName().toStdString();
    file.close();
    if (!document.Save(path, error)) return std::string();
    if (!TheDialogs().OpenWithShell(path)) {
        error = "No application opens " + path;
        return std::string();
    }
    return path;
}

void ShowPrintPreview(const WordDocument& document) {
    QTextDocument text;
    document.FillTextDocument(text);
    if (PreviewRunner()) {
        PreviewRunner()(text);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&text](QPrinter* p) { text.print(p); });
    preview.exec();
}

void SetPrintPreviewRunner(PrintPreviewRunner runner) { PreviewRunner() = std::move(runner); }

}  // namespace platform
