#include "platform/text_metrics.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QThread>

namespace platform {

namespace {

// Distinct fonts a thread keeps tables for; more than any window uses at once. When full
// the cache starts over rather than tracking use.
constexpr std::size_t kMaxCachedFonts = 64;

struct FontHash {
    std::size_t operator()(const Font& f) const noexcept {
        std::size_t h = std::hash<std::string>{}(f.faceName);
        auto mix = [&h](long long v) { h ^= std::hash<long long>{}(v) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(f.height);
        mix(f.width);
        mix(f.escapement);
        mix(f.orientation);
        mix(f.weight);
        auto bytes = [](unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; };
        mix(bytes(f.italic, f.underline, f.strikeOut, f.charSet));
        mix(bytes(f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily));
        return h;
    }
};

std::unique_ptr<TextMetrics> Build(const Font& font) {
    auto m = std::make_unique<TextMetrics>();
    m->font = font;
    m->qfont = ToQFont(font);
    const QFontMetrics fm(m->qfont);
    m->bytewise = IsSymbolFace(font);
    std::fill(std::begin(m->advance), std::end(m->advance), -1);
    m->ascent = fm.ascent();
    m->descent = fm.descent();
    m->height = fm.height();
    return m;
}

struct Cache {
    std::unordered_map<Font, std::unique_ptr<TextMetrics>, FontHash> tables;
    // Most measuring repeats the previous font: checked before hashing.
    Font lastFont;
    const TextMetrics* last = nullptr;
    bool dropOnQuit = false;
};

Cache& ThreadCache() {
    thread_local Cache cache;
    return cache;
}

// The application's thread lets go of its fonts with the application, not after it.
void DropApplicationThreadCache() {
    Cache& cache = ThreadCache();
    cache.last = nullptr;
    cache.tables.clear();
    cache.dropOnQuit = false;
}

}  // namespace

int TextMetrics::Advance(unsigned char b) const {
    if (advance[b] < 0) {
        // Each character measured as a text of its own, so characters that lay out as
        // nothing (line breaks, soft hyphen) count as nothing here too.
        const std::string one(1, static_cast<char>(b));
        advance[b] = QFontMetrics(qfont).horizontalAdvance(DrawnText(font, one));
    }
    return advance[b];
}

int TextMetrics::Width(const std::string& text) const {
    long long w = 0;
    bool ascii = true;
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && !bytewise) {
            ascii = false;
            break;
        }
        w += Advance(b);
    }
    if (ascii) return w > INT_MAX ? INT_MAX : static_cast<int>(w);
    // Characters as they are drawn: invalid bytes show as replacement characters.
    w = 0;
    const QString drawn = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics fm(qfont);
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        char32_t c = drawn[i].unicode();
        qsizetype units = 1;
        if (drawn[i].isHighSurrogate() && i + 1 < drawn.size() && drawn[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(drawn[i], drawn[i + 1]);
            units = 2;
        }
        if (c < 0x80) {
            w += Advance(static_cast<unsigned char>(c));
        } else {
            auto it = wide.find(c);
            if (it == wide.end()) it = wide.emplace(c, fm.horizontalAdvance(drawn.mid(i, units))).first;
            w += it->second;
        }
        i += units - 1;
    }
    return w > INT_MAX ? INT_MAX : static_cast<int>(w);
}

const TextMetrics& MetricsFor(const Font& font) {
    Cache& cache = ThreadCache();
    if (cache.last != nullptr && cache.lastFont == font) return *cache.last;
    auto it = cache.tables.find(font);
    if (it == cache.tables.end()) {
        if (cache.tables.size() >= kMaxCachedFonts) cache.tables.clear();
        it = cache.tables.emplace(font, Build(font)).first;
        const QCoreApplication* app = QCoreApplication::instance();
        if (!cache.dropOnQuit && app != nullptr && app->thread() == QThread::currentThread()) {
            qAddPostRoutine(DropApplicationThreadCache);
            cache.dropOnQuit = true;
        }
    }
    cache.lastFont = font;
    cache.last = it->second.get();
    return *cache.last;
}

std::size_t CachedFontCount() { return ThreadCache().tables.size(); }

QString DrawnText(const Font& font, const std::string& text) {
    QString s = FontText(font, text);
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

}  // namespace platform
