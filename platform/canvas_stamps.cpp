#include "platform/canvas_stamps.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <QPainter>

namespace platform::detail {

namespace {

constexpr int kMaxPoints = 8;  // in all the calls of one stamp
constexpr int kMaxCalls = 2;
// Largest stamp side, margin included; larger shapes are cheap to draw by Qt next to
// the pixels they cover.
constexpr long long kMaxSide = 128;
// The cache starts afresh beyond this many stamps.
constexpr std::size_t kMaxStamps = 32768;
// Recently used stamps are found without the hash table's chains: a small table indexed
// by the key's hash.
constexpr std::size_t kRecentSlots = 256;
// The scratch image has the target's size (its pages are touched only where stamps are
// drawn); beyond this many pixels stamps are not used.
constexpr long long kMaxScratchPixels = 1LL << 24;
// Below this the power-of-two ranges are too narrow to hold a stamp.
constexpr long long kSmallestRange = 32;

// What a stamp was drawn from and where, packed into words: equal keys draw equal pixels.
//   0: number of calls, their kinds and pen kinds, number of coordinates; pen widths
//   1: image width, height   2: where the stamp's area starts in the scratch image
//   3-6: the coordinates, in half pixels from the area's corner (16 bits each).
struct Key {
    std::uint64_t w[7];
    bool operator==(const Key& o) const {
        std::uint64_t d = 0;
        for (int i = 0; i < 7; ++i) d |= w[i] ^ o.w[i];
        return d == 0;
    }
};

std::uint64_t Pair(std::int64_t lo, std::int64_t hi) {
    return static_cast<std::uint32_t>(lo) | (static_cast<std::uint64_t>(static_cast<std::uint32_t>(hi)) << 32);
}

// The words are multiplied independently (no chain of dependent steps), then folded.
std::uint64_t HashOf(const Key& k) {
    static constexpr std::uint64_t kOdd[7] = {0x9E3779B97F4A7C15ull, 0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull,
                                              0xD6E8FEB86659FD93ull, 0xA0761D6478BD642Full, 0xE7037ED1A0B428DBull,
                                              0x8EBC6AF09C88C6E3ull};
    std::uint64_t h = 0;
    for (int i = 0; i < 7; ++i) h ^= k.w[i] * kOdd[i];
    h ^= h >> 32;
    return h ^ (h >> 15);
}

struct KeyHash {
    std::size_t operator()(const Key& k) const { return static_cast<std::size_t>(HashOf(k)); }
};

struct Run {
    std::int16_t dy;
    std::int16_t x0;
    std::int16_t x1;     // exclusive
    std::uint8_t call;  // which of the calls drew it last
};

struct Stamp {
    bool usable = false;
    std::vector<Run> runs;
};

struct Recent {
    Key key;
    const Stamp* stamp = nullptr;
};

struct ThreadStamps {
    bool enabled = true;
    QImage scratch;
    std::unordered_map<Key, std::unique_ptr<Stamp>, KeyHash> cache;
    Recent recent[kRecentSlots];
};

ThreadStamps& Stamps() {
    thread_local ThreadStamps stamps;
    return stamps;
}

// Where a stamp whose area covers [a, e) on one axis is drawn: the start of the
// power-of-two range holding the whole area, or the area's own place.
long long Origin(long long a, long long e) {
    if (a >= kSmallestRange) {
        const int k = 63 - __builtin_clzll(static_cast<unsigned long long>(a));
        if (e <= (1LL << (k + 1))) return 1LL << k;
    }
    return a;
}

// v in half pixels, when it is a whole number of them (and not absurdly large).
bool HalfPixel(double v, long long& twice) {
    if (!(v > -1e7 && v < 1e7)) return false;
    const double t = 2.0 * v;
    twice = static_cast<long long>(t);
    return static_cast<double>(twice) == t;
}

// Draws the calls with their area (w x h from ax, ay) moved to ox, oy of a scratch image
// of the target's size, and collects the drawn pixels (those of the area inside the image).
Stamp Render(const ShapeCall* calls, int count, long long ax, long long ay, int w, int h, int ox, int oy,
             int imageWidth, int imageHeight) {
    Stamp s;
    ThreadStamps& t = Stamps();
    if (t.scratch.width() != imageWidth || t.scratch.height() != imageHeight) {
        t.scratch = QImage();
        t.scratch = QImage(imageWidth, imageHeight, QImage::Format_RGB32);
        if (t.scratch.isNull()) return s;
    }
    const int x0 = std::max(0, -ox), x1 = std::min(w, imageWidth - ox);
    const int y0 = std::max(0, -oy), y1 = std::min(h, imageHeight - oy);
    for (int y = y0; y < y1; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(t.scratch.scanLine(oy + y)) + ox;
        std::fill(row + x0, row + std::max(x0, x1), 0u);
    }
    {
        QPainter p;
        if (!p.begin(&t.scratch)) return s;
        PainterState state(p);
        state.Reset();
        // The colour does not change which pixels are drawn, so each call draws in a
        // colour of its own (its number in red) and the last one to touch a pixel shows.
        for (int i = 0; i < count; ++i) {
            ShapeCall marked = calls[i];
            marked.fill = marked.pen.color = Rgb(i + 1, 0, 0);
            PaintShape(state, marked, static_cast<int>(ox - ax), static_cast<int>(oy - ay));
        }
    }
    for (int y = y0; y < y1; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(t.scratch.constScanLine(oy + y)) + ox;
        for (int x = x0; x < x1;) {
            const QRgb v = row[x];
            if (v == 0) {
                ++x;
                continue;
            }
            int end = x;
            while (end < x1 && row[end] == v) ++end;
            // Ink on the margin's edge means the shape reaches farther than reckoned.
            if (y == 0 || y == h - 1 || x == 0 || end == w) return s;
            const int call = static_cast<int>((v >> 16) & 0xFF) - 1;
            if (call < 0 || call >= count) return s;
            s.runs.push_back(Run{static_cast<std::int16_t>(y), static_cast<std::int16_t>(x),
                                 static_cast<std::int16_t>(end), static_cast<std::uint8_t>(call)});
            x = end;
        }
    }
    s.usable = true;
    return s;
}

bool IsStroke(const ShapeCall& c) {
    return c.kind == ShapeCall::StrokePolyline || c.kind == ShapeCall::StrokePolygon ||
           c.kind == ShapeCall::StrokeEllipse;
}

}  // namespace

bool StampsEnabled() { return Stamps().enabled; }
void SetStampsEnabled(bool on) { Stamps().enabled = on; }

bool DrawStamped(QImage& image, const StampArea& visible, const ShapeCall* calls, int count) {
    ThreadStamps& t = Stamps();
    if (!t.enabled || count < 1 || count > kMaxCalls || image.format() != QImage::Format_RGB32) return false;
    if (static_cast<long long>(image.width()) * image.height() > kMaxScratchPixels) return false;

    // The calls' coordinates in half pixels, and the margin their pens need.
    long long twice[2 * kMaxPoints];
    int n = 0;
    long long margin = 3;
    for (int c = 0; c < count; ++c) {
        const ShapeCall& call = calls[c];
        if (IsStroke(call)) {
            if (call.pen.kind != QtPen::Round && call.pen.kind != QtPen::Square) return false;
            if (call.pen.width < 0 || call.pen.width > kMaxSide) return false;
            margin = std::max<long long>(margin, call.pen.width / 2 + 3);
        }
        if (call.kind == ShapeCall::FillEllipse || call.kind == ShapeCall::StrokeEllipse) {
            if (n + 4 > 2 * kMaxPoints) return false;
            const double v[4] = {call.rect.x(), call.rect.y(), call.rect.x() + call.rect.width(),
                                 call.rect.y() + call.rect.height()};
            for (double d : v)
                if (!HalfPixel(d, twice[n++])) return false;
            // The width and height must come back exactly from the corners.
            if (static_cast<double>(twice[n - 2] - twice[n - 4]) != 2.0 * call.rect.width() ||
                static_cast<double>(twice[n - 1] - twice[n - 3]) != 2.0 * call.rect.height())
                return false;
        } else {
            if (call.points == nullptr || call.count < 1 || n + 2 * call.count > 2 * kMaxPoints) return false;
            for (int i = 0; i < call.count; ++i) {
                if (!HalfPixel(call.points[i].x(), twice[n++]) || !HalfPixel(call.points[i].y(), twice[n++]))
                    return false;
            }
        }
    }
    long long lo[2] = {twice[0], twice[1]}, hi[2] = {twice[0], twice[1]};
    for (int i = 2; i < n; ++i) {
        lo[i % 2] = std::min(lo[i % 2], twice[i]);
        hi[i % 2] = std::max(hi[i % 2], twice[i]);
    }
    // Whole pixels around the coordinates (>> 1 rounds down, also below zero).
    const long long ax = (lo[0] >> 1) - margin;
    const long long ay = (lo[1] >> 1) - margin;
    const long long ex = ((hi[0] + 1) >> 1) + margin + 1;
    const long long ey = ((hi[1] + 1) >> 1) + margin + 1;
    if (ex - ax > kMaxSide || ey - ay > kMaxSide) return false;

    // A stamp moved along an axis must fit the scratch image whole on it; one left in
    // place is cut by the image's edges exactly as the calls in place would be.
    const int imageWidth = image.width(), imageHeight = image.height();
    const long long ox = Origin(ax, ex), oy = Origin(ay, ey);
    if ((ox != ax && ox + (ex - ax) > imageWidth) || (oy != ay && oy + (ey - ay) > imageHeight)) return false;

    Key key;
    std::uint64_t kinds = static_cast<std::uint64_t>(count) | static_cast<std::uint64_t>(n) << 24;
    std::uint64_t widths = 0;
    for (int c = 0; c < count; ++c) {
        const bool stroke = IsStroke(calls[c]);
        kinds |= static_cast<std::uint64_t>(calls[c].kind) << (4 + 8 * c);
        kinds |= static_cast<std::uint64_t>(stroke ? calls[c].pen.kind : 0) << (8 + 8 * c);
        widths |= static_cast<std::uint64_t>(stroke ? calls[c].pen.width : 0) << (16 * c);
    }
    key.w[0] = kinds | widths << 32;
    key.w[1] = Pair(imageWidth, imageHeight);
    key.w[2] = Pair(ox, oy);
    key.w[3] = key.w[4] = key.w[5] = key.w[6] = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint64_t rel = static_cast<std::uint16_t>(twice[i] - 2 * (i % 2 == 0 ? ax : ay));
        key.w[3 + i / 4] |= rel << (16 * (i % 4));
    }

    Recent& slot = t.recent[HashOf(key) % kRecentSlots];
    if (slot.stamp == nullptr || !(slot.key == key)) {
        auto it = t.cache.find(key);
        if (it == t.cache.end()) {
            if (t.cache.size() >= kMaxStamps) {
                t.cache.clear();
                for (Recent& r : t.recent) r.stamp = nullptr;
            }
            auto made = std::make_unique<Stamp>(Render(calls, count, ax, ay, static_cast<int>(ex - ax),
                                                       static_cast<int>(ey - ay), static_cast<int>(ox),
                                                       static_cast<int>(oy), imageWidth, imageHeight));
            it = t.cache.emplace(key, std::move(made)).first;
        }
        slot.key = key;
        slot.stamp = it->second.get();
    }
    const Stamp& s = *slot.stamp;
    if (!s.usable) return false;
    if (s.runs.empty()) return true;

    QRgb colors[kMaxCalls];
    for (int c = 0; c < count; ++c) colors[c] = ToQRgb(IsStroke(calls[c]) ? calls[c].pen.color : calls[c].fill);
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    if (ax >= visible.left && ay >= visible.top && ex <= visible.right && ey <= visible.bottom) {
        for (const Run& r : s.runs) {
            QRgb* row = reinterpret_cast<QRgb*>(bits + (ay + r.dy) * bpl) + ax;
            std::fill(row + r.x0, row + r.x1, colors[r.call]);
        }
        return true;
    }
    // Partly visible: the runs cut to the visible area, as clipping cuts Qt's drawing.
    for (const Run& r : s.runs) {
        const long long y = ay + r.dy;
        if (y < visible.top || y >= visible.bottom) continue;
        const long long from = std::max<long long>(ax + r.x0, visible.left);
        const long long to = std::min<long long>(ax + r.x1, visible.right);
        if (from >= to) continue;
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * bpl);
        std::fill(row + from, row + to, colors[r.call]);
    }
    return true;
}

}  // namespace platform::detail
