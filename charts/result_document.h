#pragma once
// The result pane's content: a stream of tokens that the analyses append while they paint
// (text runs, series marks, statistical symbols, tabs, tables, new lines), measured and
// painted by the result pane and turned into plain text by the copy command.
//
// Every token kind keeps its payload in its own array, in token order: the n-th token of a
// kind owns the n-th entry. The appenders always add kind and payload together; the arrays
// are open for reading, and are changed only through the appenders and Clear (the measured
// layout is kept until they are used).
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/font.h"

namespace platform {
class Bitmap;
class Canvas;
}  // namespace platform

// Style of one text run. The walkers draw every run in the one font they are given.
struct textToken {
    std::int32_t size = 100;  // 100 body text, 140 headings (callers' convention)
    platform::ColorRef color = platform::kBlack;
};

// One table; its cells are the kind 0, 1 and 2 tokens that follow the table token.
struct tableOfObjects {
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::int32_t left = 0;       // x at which every row starts
    std::int32_t gap = 0;        // pixels between columns
    std::int32_t lastToken = 0;  // index of the table's last token, filled while painting
};

// Token kinds.
enum : std::uint32_t {
    kTokenText = 0,
    kTokenSeriesMark = 1,
    kTokenSymbol = 2,
    kTokenRelativeTab = 3,
    kTokenAbsoluteTab = 4,
    kTokenTable = 5,
    kTokenNewLine = 10,
};

// Symbol ids: the average (X with a bar), the standard deviation (sigma), the coefficient
// of variation (sigma over X-bar, in percent). Slots 3 to 5 stay empty.
enum : std::uint32_t { kSymbolAverage = 0, kSymbolSigma = 1, kSymbolVariation = 2 };

class resultDocument {
public:
    resultDocument();
    ~resultDocument();
    resultDocument(const resultDocument&) = delete;
    resultDocument& operator=(const resultDocument&) = delete;

    std::int32_t size = 100;                       // style of the last text run appended
    platform::ColorRef color = platform::kBlack;
    std::int32_t leftMargin = 15;                  // x of every line but the first
    std::int32_t topMargin = 0;                    // y of the first line
    std::int32_t markInset = 0;                    // columns at the left edge that marks keep clear of
    std::int32_t width = 0, height = 0;            // found by Measure
    std::int32_t scrollX = 0, scrollY = 0;         // the result pane's offsets
    std::int32_t symbolCell = 0;                   // height of "AAA" in the font
    std::array<std::shared_ptr<platform::Bitmap>, 6> symbolBitmaps;
    std::int32_t penX = 0, penY = 0;               // position of the walk
    std::vector<std::string> texts;
    std::vector<textToken> textStyles;
    tableOfObjects currentTable;
    std::vector<tableOfObjects> tables;
    // Walk counters: the next text, series mark, symbol, the current symbol id, the next
    // tab and table.
    std::int32_t nextText = 0, nextMark = 0, nextSymbol = 0, currentSymbolId = 0, nextTab = 0,
                 nextTable = 0;
    std::vector<std::uint32_t> symbolIds;
    std::vector<std::uint32_t> markIds;
    std::vector<std::uint32_t> tabPositions;  // absolute positions and relative distances
    std::vector<std::uint32_t> columnWidths;
    std::int32_t currentToken = 0;            // index of the token being painted
    std::vector<std::uint32_t> kinds;         // the token stream

    void Clear();
    void AddText(const std::string& text, platform::ColorRef colour, int size);
    void AddTextLiteral(const char* text, platform::ColorRef colour, int size);
    void AddSeriesMark(std::uint32_t parameterIndex);
    void AddSymbol(std::uint32_t symbolId);
    void AddTab(std::uint32_t x);
    // Starts a table; the caller then appends its rows x columns cells row by row,
    // with absolute tabs between the cells and a new line after each row.
    void AddObject(int columns, int rows, int left, int gap);
    void NewLine();

    // Sets width, height and symbolCell for painting in this font. The size covers all
    // that Paint draws. The layout is kept until the document or the font changes, so
    // measuring again (every scroll step of the pane) costs nothing.
    void Measure(platform::Canvas& dc, const platform::Font& font);
    // Draws the whole document with its origin at the canvas's top-left corner.
    void Paint(platform::Canvas& dc, const platform::Font& font);
    // Draws only the part of the document in the window of clipWidth x clipHeight pixels
    // from (originX, originY) of the document, placed at the canvas's top-left corner.
    // The pixels are the same as those of a full Paint in that region.
    void PaintWindow(platform::Canvas& dc, const platform::Font& font, int originX, int originY,
                     int clipWidth, int clipHeight);
    // Column widths of the table that starts at currentToken, for PaintTable. The walk
    // counters are left as they were.
    void MeasureTable(platform::Canvas& dc, tableOfObjects& table, const platform::Font& font);
    // Draws the table that starts at currentToken at the walk position, records its last
    // token and moves the walk past it.
    void PaintTable(platform::Canvas& dc, tableOfObjects& table, const platform::Font& font);
    void ToText(std::string& out) const;

    // Series marks are drawn from the data store's parameters by the point-mark painter.
    // Both are reached through these hooks so the document does not depend on them.
    struct SeriesMarkStyle {
        platform::ColorRef color = platform::kBlack;
        int markShape = 0;
    };
    // The mark of a parameter; false when the index is not below the parameter count.
    using MarkStyleHook = bool (*)(std::uint32_t parameterIndex, SeriesMarkStyle& style);
    // Draws one mark centred on (cx, cy).
    using MarkDrawHook = void (*)(platform::Canvas& dc, int markShape, int cx, int cy, int halfSize,
                                  platform::ColorRef color, platform::ColorRef fill);
    // Unset: no parameters are known and no mark is drawn.
    static MarkStyleHook markStyleHook;
    // Until the point-mark painter sets it: a filled square in the parameter's colour.
    static MarkDrawHook markDrawHook;

private:
    struct Box {
        int left, top, right, bottom;
    };
    // The walk state at the start of a line or table, with the ink its tokens leave.
    struct Segment {
        std::size_t token;
        std::int32_t penX, penY;
        std::int32_t text, mark, symbol, tab, table;
        int inkTop, inkBottom;  // inkTop >= inkBottom: nothing drawn
        int lineRight;          // see lineRight_
    };
    struct Layout {
        bool valid = false;
        platform::Font font;
        std::int32_t leftMargin = 0, topMargin = 0, markInset = 0;
        std::uint64_t revision = 0;
        std::size_t tokenCount = 0;
        std::int32_t symbolCell = 0, width = 0, height = 0, endX = 0, endY = 0;
        std::vector<Segment> segments;
        std::vector<std::vector<std::uint32_t>> tableColumns;  // column widths per table
    };
    // Where and how the current walk draws.
    struct Target {
        bool draw = false;               // false: record ink into `ink`
        int originX = 0, originY = 0;    // document point drawn at the canvas's (0, 0)
        int clipTop = 0, clipBottom = 0; // document rows that are drawn
        Box ink{0, 0, 0, 0};
        bool hasInk = false;
        int inkRight = 0;                // rightmost ink, for the width
    };

    bool LayoutValid(const platform::Font& font) const;
    void BuildLayout(platform::Canvas& dc, const platform::Font& font);
    void BeginWalk();
    void WalkTokens(platform::Canvas& dc, const platform::Font& font, std::size_t from, std::size_t to);
    // Consumes the payload of one cell token (kind 0, 1 or 2) and draws or records it at
    // (x, y) when `visible`; returns the width by which the walk advances.
    int Cell(platform::Canvas& dc, std::uint32_t kind, int x, int y, bool visible);
    void Consume(std::uint32_t kind);
    void Ink(int left, int top, int right, int bottom);
    int TextWidth(platform::Canvas& dc, const std::string& text, int* height);
    void DrawSymbol(platform::Canvas& dc, std::uint32_t id, int x, int y);
    void PaintTableCells(platform::Canvas& dc, tableOfObjects& table);

    std::uint64_t revision_ = 0;
    Layout layout_;
    Target target_;
    // Symbol pictures scaled to the symbol cell, remade when the cell or a picture changes.
    std::array<std::shared_ptr<platform::Bitmap>, 3> scaledSymbols_;
    std::array<const platform::Bitmap*, 3> scaledFrom_{};
    std::int32_t scaledCell_ = -1;
    // Right edge of what the walk's current line has drawn (INT_MIN: nothing yet), so an
    // absolute tab never puts a cell over it.
    int lineRight_ = INT_MIN;
};

// The one program-wide instance.
extern resultDocument theResultDocument;
// The text of the last fitted coefficients: the painting dispatcher empties it with the result
// stores, the fit reports append to it, the copy and save commands read it.
extern std::string coefficientsText;
