#include "number_format.h"

#include <bit>
#include <cmath>
#include <iterator>

namespace kvt {
namespace {

struct PatternShape {
    int fixedDecimals;    // digits always shown after the comma
    int optionalDecimals; // further digits shown only when not zero
    int minIntegerDigits; // 0: "#" pattern, no digit for a zero integer part
};

PatternShape shapeOf(NumberPattern pattern)
{
    switch (pattern) {
    case NumberPattern::Integer: return {0, 0, 1};
    case NumberPattern::OptionalTenths: return {0, 1, 1};
    case NumberPattern::Tenths: return {1, 0, 1};
    case NumberPattern::Hundredths: return {2, 0, 1};
    case NumberPattern::Thousandths: return {3, 0, 1};
    case NumberPattern::TenThousandths: return {4, 0, 1};
    case NumberPattern::TwoDigits: return {0, 0, 2};
    case NumberPattern::IntegerOrEmpty: return {0, 0, 0};
    }
    return {0, 0, 1};
}

// Beyond this the plain digits would be made up by the binary expansion.
constexpr double largestFormattable = 1e15;

constexpr quint64 powersOfTen[] = {1, 10, 100, 1000, 10000};

// magnitude × 10^decimals, rounded to an integer with halves going up, worked
// out from the exact binary value: a double is mantissa × 2^exponent, and with
// at most four decimals the product mantissa × 10^decimals fits 128 bits.
// magnitude is finite, not negative and below largestFormattable, so the
// result stays below 10^19 and fits 64 bits.
quint64 scaledAndRounded(double magnitude, int decimals)
{
    const auto bits = std::bit_cast<quint64>(magnitude);
    const int biasedExponent = int(bits >> 52);
    quint64 mantissa = bits & ((quint64(1) << 52) - 1);
    int exponent = -1074; // subnormal: mantissa × 2^-1074
    if (biasedExponent != 0) {
        mantissa |= quint64(1) << 52;
        exponent = biasedExponent - 1075;
    }
    const unsigned __int128 product = (unsigned __int128)mantissa * powersOfTen[decimals];
    if (exponent >= 0)
        return quint64(product << exponent);
    const int shift = -exponent;
    if (shift >= 128)
        return 0; // product < 2^67, far below half a unit
    const unsigned __int128 quotient = product >> shift;
    const unsigned __int128 remainder = product - (quotient << shift);
    const unsigned __int128 half = (unsigned __int128)1 << (shift - 1);
    return quint64(quotient) + (remainder >= half ? 1 : 0);
}

struct Parts {
    quint64 integerPart;
    quint64 fraction;
};

// A division by a constant becomes a multiplication; one by a table entry
// would be the slowest instruction of the whole text.
Parts splitAtComma(quint64 scaled, int decimals)
{
    switch (decimals) {
    case 1: return {scaled / 10, scaled % 10};
    case 2: return {scaled / 100, scaled % 100};
    case 3: return {scaled / 1000, scaled % 1000};
    case 4: return {scaled / 10000, scaled % 10000};
    }
    return {scaled, 0};
}

// Writes value's decimal digits, at least minDigits of them, ending just before end.
char16_t *writeDigitsBackwards(char16_t *end, quint64 value, int minDigits)
{
    int written = 0;
    while (value != 0 || written < minDigits) {
        *--end = char16_t(u'0' + value % 10);
        value /= 10;
        ++written;
    }
    return end;
}

} // namespace

// Built directly in a small buffer: the tables format tens of thousands of
// numbers when a file opens, and one allocation per text is what that allows.
std::optional<QString> formatNumber(double value, NumberPattern pattern)
{
    if (!std::isfinite(value) || std::fabs(value) >= largestFormattable)
        return std::nullopt;

    const PatternShape shape = shapeOf(pattern);
    const int decimals = shape.fixedDecimals + shape.optionalDecimals;
    const quint64 scaled = scaledAndRounded(std::fabs(value), decimals);
    auto [integerPart, fraction] = splitAtComma(scaled, decimals);

    // Optional decimals are shown only up to the last digit that is not zero.
    int fractionDigits = decimals;
    while (fractionDigits > shape.fixedDecimals && fraction % 10 == 0) {
        fraction /= 10;
        --fractionDigits;
    }

    // Sign, 16 integer digits (a value just below 10^15 may round up to it), the
    // comma and 4 decimals fit with room to spare.
    char16_t buffer[32];
    char16_t *const end = buffer + std::size(buffer);
    char16_t *begin = end;
    if (fractionDigits > 0) {
        begin = writeDigitsBackwards(begin, fraction, fractionDigits);
        *--begin = u',';
    }
    // The "#" pattern writes no digit for a zero integer part.
    begin = writeDigitsBackwards(begin, integerPart, shape.minIntegerDigits);

    // A value that rounds to zero is shown without a minus sign.
    if (value < 0 && scaled != 0)
        *--begin = u'-';
    if (begin == end)
        return QString();
    return QString(reinterpret_cast<const QChar *>(begin), end - begin);
}

QString formatNumberOrNan(double value, NumberPattern pattern)
{
    return formatNumber(value, pattern).value_or(QStringLiteral("NAN"));
}

} // namespace kvt
