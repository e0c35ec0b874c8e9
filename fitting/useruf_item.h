#pragma once
// One coefficient item of the user-formula page as the document keeps it:
// name=value(step)[min,max].
#include <string>
#include <vector>

#include "fitting/useruf_settings.h"

struct UserCoefficient {
    std::string name;
    double value = 0;
    double step = 0;
    double min = -1e30;
    double max = 1e30;
};

// The item's text; the numbers carry enough digits to read back exactly.
std::string UserCoefficientText(const UserCoefficient& c);
// The text without white space at either end.
std::string Trimmed(const std::string& s);
// Parses an item. Returns "" and fills c, or the message that explains why the item was
// refused (c unchanged). An empty item sets nothing and returns "" with set = false.
std::string ParseUserCoefficient(const std::string& item, UserCoefficient& c, bool& set);

// A coefficient name is a letter or '_' followed by letters, digits and '_': only such a name
// stands in a formula as a whole word.
bool IsCoefficientName(const std::string& name);
// The message that refuses a name that is no coefficient name.
std::string BadCoefficientNameMessage(const std::string& name);
// The document's text of the user-formula page: the formula, then "$" and an item per row
// (the formula and "$" when there is no row).
std::string UserDefinedText(const useruf_settings& u);
// Reads that text: the formula, and the table when the text holds any item (items that fail
// to parse are left out, their messages added). False when the table was left as it was.
bool ApplyUserDefinedText(const std::string& text, useruf_settings& u, std::vector<std::string>& messages);
