#pragma once
// Field types and values of Access tables, and the decoding of their stored bytes.
// Numbers are taken from their binary form, never through text, so a double keeps
// every digit it has in the file.
#include <cstdint>
#include <string>

namespace platform {

// The codes are the ones the file format stores (they coincide with DAO's field
// type codes from 1 to 12).
enum class AccessFieldType : int {
    Unknown = 0,
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Binary = 9,
    Text = 10,
    OleObject = 11,
    Memo = 12,
    ReplicationId = 15,
    Decimal = 16,
    Complex = 18,
};

AccessFieldType AccessFieldTypeFromCode(int code);
const char* AccessFieldTypeName(AccessFieldType type);
bool IsNumericFieldType(AccessFieldType type);  // Boolean .. Double and Decimal
bool IsTextFieldType(AccessFieldType type);     // Text, Memo, ReplicationId

struct AccessDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct AccessValue {
    AccessFieldType type = AccessFieldType::Unknown;
    // Nulls and zero-length texts both read as null: the stored row does not tell them apart.
    bool isNull = true;
    // Numeric types (a yes/no field gives 1 or 0) and date/time fields (days since
    // 1899-12-30, the fraction being the time of day).
    double number = 0.0;
    std::string text;     // Text, Memo, ReplicationId (UTF-8)
    AccessDateTime date;  // DateTime
};

// A stored date (days since 1899-12-30; for days before it the fraction still counts
// forward from midnight) as calendar fields, rounded to the second.
AccessDateTime OleDateToDateTime(double oleDate);

// Little-endian stored forms.
double DecodeAccessCurrency(const unsigned char* bytes8);
// 17 bytes: a sign byte (0x80 negative) and a 128-bit magnitude as four 32-bit
// little-endian words, the most significant word first.
double DecodeAccessDecimal(const unsigned char* bytes17, int scale);

}  // namespace platform
