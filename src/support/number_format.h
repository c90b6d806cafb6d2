#pragma once

#include <QString>
#include <optional>

namespace kvt {

// The fixed patterns the program formats numbers with. The decimal separator is
// always a comma, whatever the system's regional settings say.
enum class NumberPattern {
    Integer,        // "0"
    OptionalTenths, // "0.#"
    Tenths,         // "0.0"
    Hundredths,     // "0.00"
    Thousandths,    // "0.000"
    TenThousandths, // "0.0000"
    TwoDigits,      // "00"
    IntegerOrEmpty, // "#": zero gives the empty text
};

// Rounds to the digits shown, halves away from zero. A value that cannot be
// written in the pattern (NaN, infinite, or too large for plain digits) gives
// no text; the tables show "NAN" in its place.
std::optional<QString> formatNumber(double value, NumberPattern pattern);

// formatNumber, or "NAN" when the value cannot be formatted.
QString formatNumberOrNan(double value, NumberPattern pattern);

} // namespace kvt
