#pragma once
// The word-processor automation the reports drive: text typed with a font (bold, colour,
// size), paragraphs, pictures and tables of cells, in the order of the calls. The result is
// a real .docx file opened with the desktop's default application; the same content can be
// shown in a print preview.
#include <functional>
#include <string>
#include <vector>

#include <QImage>

#include "platform/color.h"

class QTextDocument;

namespace platform {

class WordDocument {
public:
    struct Run {
        std::string text;  // UTF-8, no line ends
        bool bold = false;
        ColorRef color = kBlack;
        double size = 11.0;  // points
        int picture = -1;    // index into pictures: the run is that picture
    };
    struct Cell {
        std::string text;
        bool bold = false;
        ColorRef color = kBlack;
    };
    struct Block {
        bool isTable = false;
        std::vector<Run> runs;  // a paragraph
        int rows = 0, columns = 0;
        std::vector<Cell> cells;  // a table, row by row
    };

    // The font of the text typed next.
    void SetBold(bool bold) { bold_ = bold; }
    void SetColor(ColorRef color) { color_ = color; }
    void SetFontSize(double points) { size_ = points; }
    double FontSize() const { return size_; }

    // Types text in the current font; every line feed ends the paragraph.
    void TypeText(const std::string& text);
    // Ends the current paragraph (an empty one stays empty).
    void AddParagraph();
    // A picture at the current position.
    void InsertPicture(const QImage& image);
    // What the clipboard holds: its picture, else its text.
    void Paste();
    // A table of rows x columns empty cells below the current paragraph; the typing goes on
    // in a new paragraph below it. Returns the table's index for SetCell.
    int AddTable(int rows, int columns);
    // Rows and columns count from 1; a cell outside the table is ignored.
    void SetCell(int table, int row, int column, const std::string& text, bool bold, ColorRef color);

    const std::vector<Block>& Blocks() const { return blocks_; }
    const std::vector<QImage>& Pictures() const { return pictures_; }

    // The main part of the package (word/document.xml).
    std::string DocumentXml() const;
    // Writes the package; false with a reason when it cannot be written.
    bool Save(const std::string& path, std::string& error) const;
    // The same content as a rich-text document, for printing.
    void FillTextDocument(QTextDocument& document) const;

private:
    Block& CurrentParagraph();

    std::vector<Block> blocks_;
    std::vector<QImage> pictures_;
    std::vector<int> tables_;  // block index of each table
    bool bold_ = false;
    ColorRef color_ = kBlack;
    double size_ = 11.0;
    bool open_ = false;  // the last block is a paragraph still being typed into
};

// Text as XML character data: the five markup characters escaped, characters XML does not
// allow (control characters, broken UTF-8, U+FFFE and U+FFFF) dropped.
std::string XmlText(const std::string& text);

// Writes the document to a new .docx of its own in the user's data folder and opens it with
// the desktop. Returns the path, or an empty string with a reason (which names the file when
// it was written).
std::string OpenWordDocument(const WordDocument& document, std::string& error);

// Shows the print preview of the document. Tests put a runner of their own in place of
// the modal preview; nullptr puts the real one back.
using PrintPreviewRunner = std::function<void(QTextDocument& document)>;
void ShowPrintPreview(const WordDocument& document);
void SetPrintPreviewRunner(PrintPreviewRunner runner);

}  // namespace platform
