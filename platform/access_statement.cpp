#include "platform/access_statement.h"

#include <cctype>

namespace platform {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool IsWordStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || u >= 0x80;
}

bool IsWordChar(char c) { return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

// The UTF-8 character at s[i] (a broken sequence: its first byte alone), moving i past it,
// in lower case for ASCII letters and the accented capitals U+00C0..U+00DE but for U+00D7
// (multiplication sign).
char32_t NextLower(std::string_view s, size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
    size_t k = 1;
    for (; k < length && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    if (k < length) {  // broken: the lead byte stands for itself
        c = lead;
        k = 1;
    }
    i += k;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
    return c;
}

bool EqualNoCase(std::string_view a, std::string_view b) { return CompareTextNoCase(a, b) == 0; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// The statement without surrounding blanks and one trailing ';'.
std::string_view TrimStatement(std::string_view s) {
    s = Trim(s);
    if (!s.empty() && s.back() == ';') s = Trim(s.substr(0, s.size() - 1));
    return s;
}

// Consumes a keyword at the front of s (case-insensitive, not followed by a word character).
bool TakeKeyword(std::string_view& s, std::string_view keyword) {
    if (s.size() < keyword.size() || !EqualNoCase(s.substr(0, keyword.size()), keyword)) return false;
    if (s.size() > keyword.size() && IsWordChar(s[keyword.size()])) return false;
    s.remove_prefix(keyword.size());
    return true;
}

bool IsWord(const SqlToken& t, std::string_view word) {
    return t.kind == SqlToken::Kind::Word && EqualNoCase(t.text, word);
}

std::string Unsupported(const char* what) { return std::string(kSimpleSelectOnly) + what; }

// Whether tokens[i] is one of the brackets of "COUNT ( * )".
bool IsCountBracket(const std::vector<SqlToken>& tokens, size_t i) {
    const size_t first = tokens[i].text == "(" ? i : i - 2;
    if (tokens[i].text == ")" && i < 3) return false;
    if (first < 1 || first + 2 >= tokens.size()) return false;
    return IsWord(tokens[first - 1], "COUNT") && tokens[first].text == "(" && tokens[first + 1].text == "*" &&
           tokens[first + 2].text == ")";
}

}  // namespace

std::vector<SqlToken> TokenizeSql(std::string_view s) {
    std::vector<SqlToken> tokens;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (IsSpace(c)) {
            ++i;
            continue;
        }
        SqlToken token;
        if (IsWordStart(c)) {
            size_t j = i;
            while (j < s.size() && IsWordChar(s[j])) ++j;
            token.kind = SqlToken::Kind::Word;
            token.text = std::string(s.substr(i, j - i));
            i = j;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            if (j < s.size() && s[j] == '.') {
                ++j;
                while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            }
            token.kind = SqlToken::Kind::Number;
            token.text = std::string(s.substr(i, j - i));
            i = j;
        } else if (c == '[' || c == '\'' || c == '"') {
            const char close = c == '[' ? ']' : c;
            const size_t end = s.find(close, i + 1);
            if (end == std::string_view::npos) {
                token.kind = SqlToken::Kind::Unterminated;
                token.text = std::string(s.substr(i + 1));
                i = s.size();
            } else {
                token.kind = c == '[' ? SqlToken::Kind::Bracketed : SqlToken::Kind::String;
                token.text = std::string(s.substr(i + 1, end - i - 1));
                i = end + 1;
            }
        } else {
            token.kind = SqlToken::Kind::Symbol;
            token.text = std::string(1, c);
            ++i;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::optional<std::string> PlainTableName(std::string_view statement) {
    std::string_view s = TrimStatement(statement);
    if (!TakeKeyword(s, "SELECT")) return std::nullopt;
    s = Trim(s);
    if (s.empty() || s.front() != '*') return std::nullopt;
    s = Trim(s.substr(1));
    if (!TakeKeyword(s, "FROM")) return std::nullopt;
    if (s.empty() || (!IsSpace(s.front()) && s.front() != '[')) return std::nullopt;
    s = Trim(s);
    if (s.empty()) return std::nullopt;
    if (s.front() == '[') {
        if (s.back() != ']' || s.size() < 3) return std::nullopt;
        s = s.substr(1, s.size() - 2);
        if (s.find(']') != std::string_view::npos) return std::nullopt;
    }
    return std::string(s);
}

CheckedStatement CheckSelectStatement(std::string_view statement) {
    CheckedStatement result;
    std::vector<SqlToken> tokens = TokenizeSql(statement);
    if (tokens.empty()) {
        result.error = "No SQL statement was given.";
        return result;
    }
    bool hasCount = false;
    bool hasWhere = false;
    int joins = 0;  // AND, OR and NOT: one condition more each (NOT at most)
    static const char* const kUnknownClauses[] = {"ORDER", "GROUP", "HAVING", "JOIN", "UNION", "DISTINCT",
                                                  "AS", "INTO", "PERCENT", "BETWEEN", "IN"};
    for (size_t i = 0; i < tokens.size(); ++i) {
        const SqlToken& t = tokens[i];
        if (t.kind == SqlToken::Kind::Word) {
            for (const char* word : kUnknownClauses) {
                if (IsWord(t, word)) {
                    result.error = Unsupported(" (SELECT fields FROM table [WHERE conditions]); ") +
                                   (IsWord(t, "PERCENT") ? "TOP n PERCENT" : word) + " is not.";
                    return result;
                }
            }
        }
        if (t.kind == SqlToken::Kind::Symbol && (t.text == "(" || t.text == ")") && !IsCountBracket(tokens, i)) {
            result.error = Unsupported("; brackets in conditions are not.");
            return result;
        }
        switch (t.kind) {
            case SqlToken::Kind::Unterminated:
                result.error = Unsupported("; a name in brackets or a quoted text is not closed.");
                return result;
            case SqlToken::Kind::Symbol:
                if (t.text == ";" && i + 1 != tokens.size()) {
                    result.error = Unsupported("; give one statement only.");
                    return result;
                }
                break;
            case SqlToken::Kind::Number:
                // The parser reads whole numbers with atoi: beyond 32 bits they would silently change.
                if (t.text.find('.') == std::string::npos &&
                    (t.text.size() > 10 || (t.text.size() == 10 && t.text > "2147483647"))) {
                    result.error = Unsupported("; whole numbers beyond 2147483647 are not.");
                    return result;
                }
                break;
            case SqlToken::Kind::Word:
                if (IsWord(t, "COUNT")) hasCount = true;
                if (IsWord(t, "WHERE")) hasWhere = true;
                if ((IsWord(t, "AND") || IsWord(t, "OR") || IsWord(t, "NOT")) && ++joins >= kMaxConditions) {
                    result.error = Unsupported("; at most ") + std::to_string(kMaxConditions) + " conditions are.";
                    return result;
                }
                if (IsWord(t, "FROM") && result.tableName.empty() && i + 1 < tokens.size() &&
                    (tokens[i + 1].kind == SqlToken::Kind::Word || tokens[i + 1].kind == SqlToken::Kind::Bracketed)) {
                    result.tableName = tokens[i + 1].text;
                    if (i + 2 < tokens.size() && tokens[i + 2].text == ",") {
                        result.error = Unsupported("; reading several tables at once is not.");
                        return result;
                    }
                }
                break;
            default:
                break;
        }
    }
    if (!IsWord(tokens.front(), "SELECT")) {
        result.error = Unsupported(" (SELECT fields FROM table [WHERE conditions]).");
        return result;
    }
    if (hasCount && hasWhere) {
        result.error = Unsupported("; COUNT(*) with conditions is not.");
        return result;
    }
    result.ok = true;
    result.statement = std::string(TrimStatement(statement));
    // The select list, when it is plain field names: SELECT [TOP n] name, [name], ... FROM
    size_t i = 1;
    if (i + 1 < tokens.size() && IsWord(tokens[i], "TOP")) i += 2;
    std::vector<std::string> names;
    for (; i + 1 < tokens.size(); i += 2) {
        const SqlToken& item = tokens[i];
        if (item.kind != SqlToken::Kind::Word && item.kind != SqlToken::Kind::Bracketed) break;
        if (IsWord(item, "FROM")) break;
        names.push_back(item.text);
        if (IsWord(tokens[i + 1], "FROM")) {
            result.fieldNames = std::move(names);
            break;
        }
        if (tokens[i + 1].text != ",") break;
    }
    return result;
}

bool LikeMatch(std::string_view text, std::string_view pattern) {
    // Iterative matching, one character at a time, with one backtracking point for the last '*'.
    size_t t = 0, p = 0;
    size_t starPattern = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const char pc = pattern[p];
            if (pc == '*' || pc == '%') {
                starPattern = p++;
                starText = t;
                continue;
            }
            size_t nextT = t, nextP = p;
            const char32_t tc = NextLower(text, nextT);
            const char32_t lp = NextLower(pattern, nextP);
            const bool one = pc == '?' || pc == '_' || (pc == '#' ? tc >= '0' && tc <= '9' : lp == tc);
            if (one) {
                t = nextT;
                p = nextP;
                continue;
            }
        }
        if (starPattern == std::string_view::npos) return false;
        p = starPattern + 1;
        NextLower(text, starText);
        t = starText;
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) ++p;
    return p == pattern.size();
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = NextLower(a, i);
        const char32_t y = NextLower(b, j);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i == a.size() && j == b.size()) return 0;
    return i == a.size() ? -1 : 1;
}

}  // namespace platform
