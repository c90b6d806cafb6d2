#include "requirement_rule.h"

#include <cmath>

namespace kvt {

bool sameInstrumentName(const QString &a, const QString &b)
{
    return QStringView(a).trimmed().compare(QStringView(b).trimmed(), Qt::CaseInsensitive) == 0;
}

const RequirementRule *findRule(const QList<RequirementRule> &rules, const QString &object, const QString &material)
{
    const RequirementRule *objectWide = nullptr;
    for (const RequirementRule &rule : rules) {
        if (!sameInstrumentName(rule.object, object))
            continue;
        if (rule.material.trimmed().isEmpty()) {
            if (!objectWide)
                objectWide = &rule;
        } else if (sameInstrumentName(rule.material, material)) {
            return &rule;
        }
    }
    return objectWide;
}

std::optional<double> requirementNumber(const QString &text)
{
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

bool optionalRequirementNumber(const QString &text, std::optional<double> &number)
{
    number = requirementNumber(text);
    return text.isEmpty() || number;
}

QString requirementNumberText(double value)
{
    return QString::number(value, 'g', 15).replace(u'.', u',');
}

QString optionalRequirementText(const std::optional<double> &value)
{
    return value ? requirementNumberText(*value) : QString();
}

} // namespace kvt
