#include "platform/access_values.h"

#include <cmath>

namespace platform {

AccessFieldType AccessFieldTypeFromCode(int code) {
    switch (code) {
        case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10:
        case 11: case 12: case 15: case 16: case 18:
            return static_cast<AccessFieldType>(code);
        default:
            return AccessFieldType::Unknown;
    }
}

const char* AccessFieldTypeName(AccessFieldType type) {
    switch (type) {
        case AccessFieldType::Boolean: return "Yes/No";
        case AccessFieldType::Byte: return "Byte";
        case AccessFieldType::Integer: return "Integer";
        case AccessFieldType::Long: return "Long Integer";
        case AccessFieldType::Currency: return "Currency";
        case AccessFieldType::Single: return "Single";
        case AccessFieldType::Double: return "Double";
        case AccessFieldType::DateTime: return "Date/Time";
        case AccessFieldType::Binary: return "Binary";
        case AccessFieldType::Text: return "Text";
        case AccessFieldType::OleObject: return "OLE Object";
        case AccessFieldType::Memo: return "Memo";
        case AccessFieldType::ReplicationId: return "Replication ID";
        case AccessFieldType::Decimal: return "Decimal";
        case AccessFieldType::Complex: return "Complex";
        case AccessFieldType::Unknown: break;
    }
    return "Unknown";
}

bool IsNumericFieldType(AccessFieldType type) {
    switch (type) {
        case AccessFieldType::Boolean: case AccessFieldType::Byte: case AccessFieldType::Integer:
        case AccessFieldType::Long: case AccessFieldType::Currency: case AccessFieldType::Single:
        case AccessFieldType::Double: case AccessFieldType::Decimal:
            return true;
        default:
            return false;
    }
}

bool IsTextFieldType(AccessFieldType type) {
    return type == AccessFieldType::Text || type == AccessFieldType::Memo ||
           type == AccessFieldType::ReplicationId;
}

namespace {

// Days since 1970-01-01 to a proleptic Gregorian date.
void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

AccessDateTime OleDateToDateTime(double oleDate) {
    AccessDateTime result;
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 1e9) return result;
    double whole = std::trunc(oleDate);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    constexpr long long kDaysFrom1899To1970 = 25569;
    CivilFromDays(days - kDaysFrom1899To1970, result.year, result.month, result.day);
    result.hour = static_cast<int>(seconds / 3600);
    result.minute = static_cast<int>(seconds / 60 % 60);
    result.second = static_cast<int>(seconds % 60);
    return result;
}

double DecodeAccessCurrency(const unsigned char* bytes8) {
    std::uint64_t raw = 0;
    for (int i = 7; i >= 0; --i) raw = (raw << 8) | bytes8[i];
    const auto value = static_cast<std::int64_t>(raw);
    // One rounding only: the scaled integer is exact in long double.
    return static_cast<double>(static_cast<long double>(value) / 10000.0L);
}

double DecodeAccessDecimal(const unsigned char* bytes17, int scale) {
    long double magnitude = 0.0L;
    for (int word = 0; word < 4; ++word) {
        const unsigned char* p = bytes17 + 1 + 4 * word;
        const std::uint32_t w = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                (static_cast<std::uint32_t>(p[2]) << 16) |
                                (static_cast<std::uint32_t>(p[3]) << 24);
        magnitude = magnitude * 4294967296.0L + static_cast<long double>(w);
    }
    if (scale > 0) magnitude /= std::pow(10.0L, static_cast<long double>(scale));
    const double value = static_cast<double>(magnitude);
    return (bytes17[0] & 0x80) ? -value : value;
}

}  // namespace platform
