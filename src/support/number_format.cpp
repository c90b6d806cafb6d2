#include "number_format.h"

#include <algorithm>
#include <cmath>

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

} // namespace

std::optional<QString> formatNumber(double value, NumberPattern pattern)
{
    if (!std::isfinite(value) || std::fabs(value) >= largestFormattable)
        return std::nullopt;

    const PatternShape shape = shapeOf(pattern);
    const int decimals = shape.fixedDecimals + shape.optionalDecimals;
    QString digits = QString::number(std::fabs(value), 'f', decimals);

    qsizetype dot = digits.indexOf(u'.');
    if (shape.optionalDecimals > 0) {
        while (digits.size() > dot + 1 + shape.fixedDecimals && digits.endsWith(u'0'))
            digits.chop(1);
        if (digits.endsWith(u'.'))
            digits.chop(1);
    }
    dot = digits.indexOf(u'.');
    QString integerPart = dot < 0 ? digits : digits.left(dot);
    const QString fraction = dot < 0 ? QString() : digits.mid(dot + 1);

    if (shape.minIntegerDigits == 0 && integerPart == u"0")
        integerPart.clear();
    else
        integerPart = integerPart.rightJustified(shape.minIntegerDigits, u'0');

    QString text = integerPart;
    if (!fraction.isEmpty())
        text += u',' + fraction;

    // A value that rounds to zero is shown without a minus sign.
    const bool nonZero = std::any_of(text.cbegin(), text.cend(),
                                     [](QChar c) { return c >= u'1' && c <= u'9'; });
    if (value < 0 && nonZero)
        text.prepend(u'-');
    return text;
}

QString formatNumberOrNan(double value, NumberPattern pattern)
{
    return formatNumber(value, pattern).value_or(QStringLiteral("NAN"));
}

} // namespace kvt
