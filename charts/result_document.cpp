#include "charts/result_document.h"

#include <algorithm>
#include <climits>

#include "charts/chart_text.h"
#include "charts/result_symbols.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/utf8_cut.h"

resultDocument theResultDocument;
std::string coefficientsText;

namespace {

constexpr int kFirstLineX = 20;
// Room left after a cell that reached past the next absolute tab, as between table columns.
constexpr int kPassedTabGap = 15;

// Rows painted beyond the window's edges: marks may reach a little outside their cell.
int VisibilitySlack(int symbolCell) { return symbolCell / 2 + 4; }

int LineAdvance(int symbolCell) { return static_cast<int>(symbolCell * 1.2); }

std::string CutText(const std::string& text) {
    return platform::CutUtf8(text, kChartTextMaxLength);
}

void DrawSquareMark(platform::Canvas& dc, int /*markShape*/, int cx, int cy, int halfSize,
                    platform::ColorRef color, platform::ColorRef /*fill*/) {
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, color));
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Solid(color));
    dc.Rectangle(cx - halfSize, cy - halfSize, cx + halfSize + 1, cy + halfSize + 1);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

}  // namespace

resultDocument::MarkStyleHook resultDocument::markStyleHook = nullptr;
resultDocument::MarkDrawHook resultDocument::markDrawHook = DrawSquareMark;

resultDocument::resultDocument() { Clear(); }

resultDocument::~resultDocument() = default;

void resultDocument::Clear() {
    penX = penY = 0;
    scrollX = scrollY = 0;
    kinds.clear();
    texts.clear();
    textStyles.clear();
    symbolIds.clear();
    markIds.clear();
    tabPositions.clear();
    tables.clear();
    columnWidths.clear();
    ++revision_;
}

void resultDocument::AddText(const std::string& text, platform::ColorRef colour, int textSize) {
    kinds.push_back(kTokenText);
    size = textSize;
    color = colour;
    textStyles.push_back(textToken{textSize, colour});
    texts.push_back(text);
    ++revision_;
}

void resultDocument::AddTextLiteral(const char* text, platform::ColorRef colour, int textSize) {
    AddText(text ? std::string(text) : std::string(), colour, textSize);
}

void resultDocument::AddSeriesMark(std::uint32_t parameterIndex) {
    markIds.push_back(parameterIndex);
    kinds.push_back(kTokenSeriesMark);
    ++revision_;
}

void resultDocument::AddSymbol(std::uint32_t symbolId) {
    kinds.push_back(kTokenSymbol);
    symbolIds.push_back(symbolId);
    ++revision_;
}

void resultDocument::AddTab(std::uint32_t x) {
    kinds.push_back(kTokenAbsoluteTab);
    tabPositions.push_back(x);
    ++revision_;
}

void resultDocument::AddObject(int columns, int rows, int left, int gap) {
    currentTable = tableOfObjects{rows, columns, left, gap, 0};
    tables.push_back(currentTable);
    kinds.push_back(kTokenTable);
    ++revision_;
}

void resultDocument::NewLine() {
    kinds.push_back(kTokenNewLine);
    ++revision_;
}

void resultDocument::ToText(std::string& out) const {
    out.clear();
    std::size_t text = 0, symbol = 0;
    for (std::uint32_t kind : kinds) {
        switch (kind) {
        case kTokenText:
            if (text < texts.size()) out += texts[text];
            ++text;
            out += '\t';
            break;
        case kTokenSymbol: {
            const std::uint32_t id = symbol < symbolIds.size() ? symbolIds[symbol] : UINT32_MAX;
            ++symbol;
            if (id == kSymbolAverage) out += "Average \t";
            else if (id == kSymbolSigma) out += "St.Dev. \t";
            else if (id == kSymbolVariation) out += "Coef. of Var.(%) \t";
            break;
        }
        case kTokenNewLine:
            out += '\n';
            break;
        default:
            break;
        }
    }
    out += '\n';
}

// ---- walking ----

namespace {

// Number of cells of a table; 0 for a table without rows or columns.
long long TableCells(const tableOfObjects& table) {
    if (table.rows <= 0 || table.columns <= 0) return 0;
    return static_cast<long long>(table.rows) * table.columns;
}

template <typename T>
T At(const std::vector<T>& v, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : T{};
}

}  // namespace

int resultDocument::TextWidth(platform::Canvas& dc, const std::string& text, int* textHeight) {
    int h = 0;
    const int w = MeasureText(dc, nullptr, CutText(text), h);
    if (textHeight) *textHeight = h;
    return w;
}

void resultDocument::Ink(int left, int top, int right, int bottom) {
    Target& t = target_;
    if (!t.hasInk) {
        t.ink = Box{left, top, right, bottom};
        t.hasInk = true;
    } else {
        t.ink.left = std::min(t.ink.left, left);
        t.ink.top = std::min(t.ink.top, top);
        t.ink.right = std::max(t.ink.right, right);
        t.ink.bottom = std::max(t.ink.bottom, bottom);
    }
    t.inkRight = std::max(t.inkRight, right);
}

void resultDocument::Consume(std::uint32_t kind) {
    switch (kind) {
    case kTokenText: ++nextText; break;
    case kTokenSeriesMark: ++nextMark; break;
    case kTokenSymbol: ++nextSymbol; break;
    case kTokenRelativeTab:
    case kTokenAbsoluteTab: ++nextTab; break;
    case kTokenTable: ++nextTable; break;
    default: break;
    }
}

void resultDocument::DrawSymbol(platform::Canvas& dc, std::uint32_t id, int x, int y) {
    if (id >= symbolBitmaps.size() || symbolCell <= 0) return;
    if (id < scaledSymbols_.size() && !symbolBitmaps[id]) symbolBitmaps[id] = MakeResultSymbol(static_cast<int>(id));
    const std::shared_ptr<platform::Bitmap>& source = symbolBitmaps[id];
    if (!source || source->IsNull()) return;
    const int w = id == kSymbolVariation ? 2 * symbolCell : symbolCell;
    const int h = symbolCell;
    if (id >= scaledSymbols_.size()) {
        dc.StretchFrom(x, y, w, h, *source, 0, 0, source->Width(), source->Height());
        return;
    }
    // The picture is stretched once per cell size and then copied, so a window of the
    // document gets the same pixels as the whole.
    if (scaledCell_ != symbolCell) {
        scaledSymbols_ = {};
        scaledFrom_ = {};
        scaledCell_ = symbolCell;
    }
    if (!scaledSymbols_[id] || scaledFrom_[id] != source.get()) {
        auto scaled = std::make_shared<platform::Bitmap>(w, h);
        if (scaled->IsNull()) return;
        platform::Canvas sc(*scaled);
        sc.StretchFrom(0, 0, w, h, *source, 0, 0, source->Width(), source->Height());
        scaledSymbols_[id] = scaled;
        scaledFrom_[id] = source.get();
    }
    dc.CopyFrom(x, y, w, h, *scaledSymbols_[id], 0, 0);
}

int resultDocument::Cell(platform::Canvas& dc, std::uint32_t kind, int x, int y, bool visible) {
    Target& t = target_;
    switch (kind) {
    case kTokenText: {
        const std::int32_t index = nextText++;
        if (!visible) return 0;
        const std::string text = At(texts, index);
        int h = 0;
        const int w = TextWidth(dc, text, &h);
        lineRight_ = std::max(lineRight_, x + w);
        if (t.draw) {
            dc.SetTextColor(At(textStyles, index).color);
            DrawTextClipped(dc, x - t.originX, y - t.originY, text);
        } else if (w > 0) {
            Ink(x, y, x + w, y + h);
        }
        return w;
    }
    case kTokenSeriesMark: {
        const std::uint32_t parameter = At(markIds, nextMark++);
        if (!visible) return symbolCell;
        const int half = static_cast<int>(0.4 * symbolCell);
        // A mark at a tab near the left edge moves right as far as its ink would reach into
        // the columns kept clear (where the pane's frame lies); the line's texts stay.
        const int cx = std::max(x, markInset + half + 2);
        const int cy = static_cast<int>(y + 0.5 * symbolCell);
        lineRight_ = std::max(lineRight_, cx + half + 1);
        if (t.draw) {
            SeriesMarkStyle style;
            if (markStyleHook && markDrawHook && markStyleHook(parameter, style))
                markDrawHook(dc, style.markShape, cx - t.originX, cy - t.originY, half, style.color,
                             platform::kWhite);
        } else {
            Ink(cx - half - 2, cy - half - 2, cx + half + 3, cy + half + 3);
            t.inkRight = std::max(t.inkRight, x + symbolCell);
        }
        return symbolCell;
    }
    case kTokenSymbol: {
        const std::uint32_t id = At(symbolIds, nextSymbol++);
        currentSymbolId = static_cast<std::int32_t>(id);
        if (!visible) return symbolCell;
        lineRight_ = std::max(lineRight_, x + (id == kSymbolVariation ? 2 : 1) * symbolCell);
        if (t.draw) DrawSymbol(dc, id, x - t.originX, y - t.originY);
        else if (id <= kSymbolVariation)
            Ink(x, y, x + (id == kSymbolVariation ? 2 : 1) * symbolCell, y + symbolCell);
        return symbolCell;
    }
    default:
        return 0;
    }
}

void resultDocument::MeasureTable(platform::Canvas& dc, tableOfObjects& table, const platform::Font& font) {
    const platform::Font previous = dc.SelectFont(font);
    columnWidths.assign(static_cast<std::size_t>(std::max(table.columns, 0)), 0);
    const long long cells = TableCells(table);
    const std::int32_t text = nextText, mark = nextMark, symbol = nextSymbol, tab = nextTab,
                       tableCounter = nextTable, symbolId = currentSymbolId;
    long long c = 0;
    for (std::size_t j = static_cast<std::size_t>(currentToken) + 1; j < kinds.size() && c < cells; ++j) {
        const std::uint32_t kind = kinds[j];
        int w = 0;
        if (kind == kTokenText) {
            w = TextWidth(dc, At(texts, nextText), nullptr);
        } else if (kind == kTokenSeriesMark) {
            w = static_cast<int>(0.6 * symbolCell);
        } else if (kind == kTokenSymbol) {
            w = symbolCell;
        }
        Consume(kind);
        if (kind != kTokenText && kind != kTokenSeriesMark && kind != kTokenSymbol) continue;
        std::uint32_t& column = columnWidths[static_cast<std::size_t>(c % table.columns)];
        column = std::max(column, static_cast<std::uint32_t>(std::max(w, 0)));
        ++c;
    }
    nextText = text;
    nextMark = mark;
    nextSymbol = symbol;
    nextTab = tab;
    nextTable = tableCounter;
    currentSymbolId = symbolId;
    dc.SelectFont(previous);
}

void resultDocument::PaintTableCells(platform::Canvas& dc, tableOfObjects& table) {
    const Target& t = target_;
    const int rowHeight = LineAdvance(symbolCell);
    const int slack = VisibilitySlack(symbolCell);
    penY += static_cast<int>(rowHeight * 0.2);
    const long long cells = TableCells(table);
    long long c = 0;
    std::size_t last = static_cast<std::size_t>(currentToken);
    bool rowVisible = false;
    for (std::size_t j = last + 1; j < kinds.size() && c < cells; ++j) {
        last = j;
        const std::uint32_t kind = kinds[j];
        if (kind != kTokenText && kind != kTokenSeriesMark && kind != kTokenSymbol) {
            Consume(kind);  // tabs and new lines inside the table: the cells are placed here
            continue;
        }
        const std::size_t column = static_cast<std::size_t>(c % table.columns);
        if (column == 0) {
            penY += rowHeight;
            penX = table.left;
            rowVisible = !t.draw || (penY + rowHeight + slack > t.clipTop && penY - slack < t.clipBottom);
        }
        Cell(dc, kind, penX, penY, rowVisible);
        penX += table.gap + static_cast<int>(column < columnWidths.size() ? columnWidths[column] : 0);
        ++c;
    }
    table.lastToken = static_cast<std::int32_t>(last);
    penY += rowHeight;
    lineRight_ = INT_MIN;
}

void resultDocument::PaintTable(platform::Canvas& dc, tableOfObjects& table, const platform::Font& font) {
    const platform::Font previous = dc.SelectFont(font);
    PaintTableCells(dc, table);
    dc.SelectFont(previous);
}

void resultDocument::BeginWalk() {
    penY = topMargin;
    penX = kFirstLineX;
    lineRight_ = INT_MIN;
    nextText = nextMark = nextSymbol = nextTab = nextTable = currentSymbolId = 0;
    currentToken = 0;
}

void resultDocument::WalkTokens(platform::Canvas& dc, const platform::Font& font, std::size_t from,
                                std::size_t to) {
    to = std::min(to, kinds.size());
    for (std::size_t i = from; i < to; ++i) {
        currentToken = static_cast<std::int32_t>(i);
        const std::uint32_t kind = kinds[i];
        switch (kind) {
        case kTokenText:
        case kTokenSeriesMark:
        case kTokenSymbol:
            penX += Cell(dc, kind, penX, penY, true);
            break;
        case kTokenRelativeTab:
            penX += static_cast<std::int32_t>(At(tabPositions, nextTab++));
            if (!target_.draw) target_.inkRight = std::max(target_.inkRight, penX);
            break;
        case kTokenAbsoluteTab: {
            const auto stop = static_cast<std::int32_t>(At(tabPositions, nextTab++));
            // A label longer than its column would be overdrawn by the next cell.
            penX = lineRight_ > stop ? lineRight_ + kPassedTabGap : stop;
            break;
        }
        case kTokenTable: {
            const std::int32_t ordinal = nextTable++;
            if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= tables.size()) break;
            currentTable = tables[static_cast<std::size_t>(ordinal)];
            const auto cached = static_cast<std::size_t>(ordinal);
            if (target_.draw && cached < layout_.tableColumns.size())
                columnWidths = layout_.tableColumns[cached];
            else
                MeasureTable(dc, currentTable, font);
            if (!target_.draw) {
                if (layout_.tableColumns.size() <= cached) layout_.tableColumns.resize(cached + 1);
                layout_.tableColumns[cached] = columnWidths;
            }
            PaintTableCells(dc, currentTable);
            tables[cached].lastToken = currentTable.lastToken;
            i = static_cast<std::size_t>(currentTable.lastToken);
            break;
        }
        case kTokenNewLine:
            penX = leftMargin;
            lineRight_ = INT_MIN;
            penY += LineAdvance(symbolCell);
            break;
        default:
            break;
        }
    }
}

bool resultDocument::LayoutValid(const platform::Font& font) const {
    return layout_.valid && layout_.revision == revision_ && layout_.tokenCount == kinds.size() &&
           layout_.leftMargin == leftMargin && layout_.topMargin == topMargin &&
           layout_.markInset == markInset && layout_.font == font;
}

void resultDocument::BuildLayout(platform::Canvas& dc, const platform::Font& font) {
    Layout& L = layout_;
    L = Layout{};
    const platform::Font previous = dc.SelectFont(font);
    int h = 0;
    MeasureText(dc, nullptr, "AAA", h);
    symbolCell = h;

    target_ = Target{};
    target_.draw = false;
    BeginWalk();

    int inkBottom = 0;
    auto close = [&]() {
        if (L.segments.empty()) return;
        Segment& s = L.segments.back();
        if (target_.hasInk) {
            s.inkTop = target_.ink.top;
            s.inkBottom = target_.ink.bottom;
            inkBottom = std::max(inkBottom, target_.ink.bottom);
        } else {
            s.inkTop = s.inkBottom = s.penY;
        }
        target_.hasInk = false;
    };
    auto open = [&](std::size_t token) {
        close();
        L.segments.push_back(Segment{token, penX, penY, nextText, nextMark, nextSymbol, nextTab, nextTable, 0, 0, lineRight_});
    };

    open(0);
    std::size_t i = 0;
    while (i < kinds.size()) {
        const std::uint32_t kind = kinds[i];
        if (kind == kTokenTable && i > L.segments.back().token) open(i);
        const std::int32_t tableOrdinal = nextTable;
        WalkTokens(dc, font, i, i + 1);
        std::size_t next = i + 1;
        if (kind == kTokenTable && tableOrdinal >= 0 && static_cast<std::size_t>(tableOrdinal) < tables.size())
            next = static_cast<std::size_t>(tables[static_cast<std::size_t>(tableOrdinal)].lastToken) + 1;
        if ((kind == kTokenNewLine || kind == kTokenTable) && next < kinds.size()) open(next);
        i = next;
    }
    close();

    L.symbolCell = symbolCell;
    // A right margin as wide as the left one; below, a margin as high as the top one.
    L.width = std::max(target_.inkRight, 0) + leftMargin;
    L.height = std::max(penY, inkBottom) + topMargin;
    L.endX = penX;
    L.endY = penY;
    L.font = font;
    L.leftMargin = leftMargin;
    L.topMargin = topMargin;
    L.markInset = markInset;
    L.revision = revision_;
    L.tokenCount = kinds.size();
    L.valid = true;
    target_ = Target{};
    dc.SelectFont(previous);
}

void resultDocument::Measure(platform::Canvas& dc, const platform::Font& font) {
    if (!LayoutValid(font)) BuildLayout(dc, font);
    symbolCell = layout_.symbolCell;
    width = layout_.width;
    height = layout_.height;
    penX = layout_.endX;
    penY = layout_.endY;
}

void resultDocument::Paint(platform::Canvas& dc, const platform::Font& font) {
    PaintWindow(dc, font, 0, 0, INT_MAX / 4, INT_MAX / 4);
}

void resultDocument::PaintWindow(platform::Canvas& dc, const platform::Font& font, int originX, int originY,
                                 int clipWidth, int clipHeight) {
    if (!LayoutValid(font)) BuildLayout(dc, font);
    if (clipWidth <= 0 || clipHeight <= 0) return;
    symbolCell = layout_.symbolCell;
    const platform::Font previousFont = dc.SelectFont(font);
    const platform::ColorRef previousColor = dc.TextColor();

    target_ = Target{};
    target_.draw = true;
    target_.originX = originX;
    target_.originY = originY;
    target_.clipTop = originY;
    target_.clipBottom = static_cast<int>(std::min<long long>(static_cast<long long>(originY) + clipHeight, INT_MAX / 2));
    const int slack = VisibilitySlack(symbolCell);

    const std::vector<Segment>& segments = layout_.segments;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const Segment& s = segments[k];
        if (s.penY - slack >= target_.clipBottom) break;  // segments start lower and lower
        if (s.inkTop >= s.inkBottom) continue;
        if (s.inkBottom + slack <= target_.clipTop || s.inkTop - slack >= target_.clipBottom) continue;
        penX = s.penX;
        penY = s.penY;
        nextText = s.text;
        nextMark = s.mark;
        nextSymbol = s.symbol;
        nextTab = s.tab;
        nextTable = s.table;
        lineRight_ = s.lineRight;
        const std::size_t end = k + 1 < segments.size() ? segments[k + 1].token : kinds.size();
        WalkTokens(dc, font, s.token, end);
    }
    target_ = Target{};
    penX = layout_.endX;
    penY = layout_.endY;
    dc.SetTextColor(previousColor);
    dc.SelectFont(previousFont);
}
