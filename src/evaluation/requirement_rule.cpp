#include "requirement_rule.h"

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

} // namespace kvt
