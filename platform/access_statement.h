#pragma once
// The text side of the SQL statements given to an Access database: recognising the
// plain whole-table statement, and the checks made before a statement reaches
// mdbtools' SQL parser (which understands only simple SELECT statements and may act
// on others, such as CONNECT and DISCONNECT, in ways that would upset an open file).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Every failure text for a statement outside what the reader handles starts with this.
inline constexpr const char* kSimpleSelectOnly = "Only simple SELECT statements are supported";

// Conditions joined by AND, OR and NOT in one statement: the SQL parser and its tree
// recurse once per condition, so more are refused.
inline constexpr int kMaxConditions = 1000;

struct SqlToken {
    enum class Kind { Word, Bracketed, String, Number, Symbol, Unterminated };
    Kind kind = Kind::Symbol;
    std::string text;  // brackets and quotes removed
};

std::vector<SqlToken> TokenizeSql(std::string_view statement);

// "SELECT * FROM name" (any letter case and spacing, name plain or in brackets, with
// blanks allowed, an optional trailing ';'): the name; otherwise nothing.
std::optional<std::string> PlainTableName(std::string_view statement);

struct CheckedStatement {
    bool ok = false;
    std::string error;      // when not ok
    std::string statement;  // the text to hand to the parser (trailing ';' removed)
    std::string tableName;  // the word after FROM, "" when none was found
    std::vector<std::string> fieldNames;  // the named fields of the select list
};

// Refuses what the parser must not see or would get wrong: anything but one SELECT,
// COUNT(*) with conditions, TOP n PERCENT, whole numbers beyond the 32-bit range, more
// than kMaxConditions conditions;
// and, with a clearer message than the parser's, brackets in conditions, several
// tables and clauses the parser does not know (ORDER BY, GROUP BY, AS, ...).
CheckedStatement CheckSelectStatement(std::string_view statement);

// Jet's LIKE on UTF-8 text, without regard to letter case: '*' and '%' stand for
// any run of characters, '?' and '_' for one character, '#' for one digit.
bool LikeMatch(std::string_view text, std::string_view pattern);

// UTF-8 text comparison without regard to letter case (ASCII and Latin-1 letters): <0, 0, >0.
int CompareTextNoCase(std::string_view a, std::string_view b);

}  // namespace platform
