#pragma once
// Number and date text of imported records: how a field becomes a number or a
// date, how a date becomes a fractional year, and how lines are cut into fields.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Characters that make an imported field non-numeric: every Latin letter but e and
// E, and the signs ` ~ @ # $ % & _ = [ ] { } ; ' : , < > ?.
inline constexpr char nonNumericCharacters[] =
    "`~@#$%&_=qwrtyuiop[]QWRTYUIOP{}asdfghjkl;'ASDFGHJKL:zxcvbnm,ZXCVBNM<>?";

// 1 when the text holds at least one character of nonNumericCharacters, else 0.
int IsNonNumericField(const char* text);

// Days before month m of a common year, at index m-1.
inline constexpr std::int32_t daysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Fractional year of a date: year + day-of-year/365 (366 when year mod 4 is 0),
// January 1 being day 1; results not above 20 count from 1900 (+100). A month
// outside 1 to 12 is taken as the nearest of them (the date readers never pass one).
double DateToYearFraction(int year, int month, int day);

// Reads the next line of the file and cuts it at any of the separator characters
// (the first 199 count); runs of separators count as one. Fields go to
// fields[1..count], fields[count+1] becomes "". A line without a field gives count 1
// with fields[1] = "". Returns 0 at the end of the file. The line is read whole
// however long it is; it ends at a line feed, a CR LF or a lone CR, which stands in the
// text as one line feed (it ends the last field unless it is a separator). A NUL is
// kept in its field.
int ReadLineFields(std::FILE* file, const char* separators, std::vector<std::string>& fields);

// Empties names, then appends every non-empty piece of text between separator
// characters (and the non-empty rest after the last one). Returns the count.
int SplitNames(const std::string& text, const char* separators, std::vector<std::string>& names);

// The conversions the import paths reach as members of the data page.
struct RecordText {
    // Program-wide date order: 1 (at start) reads month/day/year, 0 day/month/year.
    static inline std::int32_t dateFormatFlag = 1;

    // A date (two slashes, read in the order of dateFormatFlag) as a fractional year,
    // otherwise exactly what atof gives for the text (so "12abc" is 12, "abc" 0).
    static double TextToValue(const char* text);
    static double TextToValue(const std::string& text) { return TextToValue(text.c_str()); }

    // Read text as month/day/year (ParseDateText) or day/month/year
    // (ParseDateTextDayFirst); each part is read as atoi does. Return 1 and the
    // fractional year when the text holds two slashes and the month is 1 to 12,
    // else 0 with value 0.0.
    static int ParseDateText(const char* text, double& value);
    static int ParseDateTextDayFirst(const char* text, double& value);

    // Takes the text before the first TAB (when it stands above position 0) as the
    // field and leaves the rest after it; otherwise the whole text, which is then
    // emptied. The field is trimmed of CR, TAB and LF at both ends. Returns 0 only
    // for an empty text (field untouched).
    static int SplitLine(std::string& text, std::string& field);
    // The same on text from position on: the rest starts at the new position.
    static int SplitLineAt(const std::string& text, std::size_t& position, std::string& field);

    // Takes the text before the first line feed as the line (a CR before it stays)
    // and leaves what follows. Returns 0, changing nothing, when there is no line
    // feed or it is the very first character.
    static int SplitClipboardText(std::string& text, std::string& line);
    // The same on text from position on, walking it without copying the rest.
    static int SplitClipboardTextAt(const std::string& text, std::size_t& position, std::string& line);
};
