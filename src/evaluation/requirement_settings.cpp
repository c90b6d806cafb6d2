#include "requirement_settings.h"

namespace kvt {
namespace {

constexpr int ValueBuffer = 256;
const QString Layout = QStringLiteral("1");

QString readValue(const SettingsSnapshot &settings, const QString &key)
{
    return settings.readString(RequirementsSection, key, QString(), ValueBuffer).trimmed();
}

QString numbered(const char16_t *name, qsizetype number)
{
    return QString::fromUtf16(name) + QString::number(number);
}

} // namespace

std::optional<QList<RequirementRule>> readRequirementRules(const SettingsSnapshot &settings)
{
    const QString layout = readValue(settings, QStringLiteral("Layout"));
    const QString countText = readValue(settings, QStringLiteral("Count"));
    if (layout.isEmpty() && countText.isEmpty())
        return QList<RequirementRule>();
    bool ok = false;
    const int count = countText.toInt(&ok);
    if (layout != Layout || !ok || count < 0)
        return std::nullopt;

    QList<RequirementRule> rules;
    for (int i = 1; i <= count; ++i) {
        RequirementRule rule;
        rule.object = readValue(settings, numbered(u"Object", i));
        rule.material = readValue(settings, numbered(u"Material", i));
        const std::optional<double> dynamic = requirementNumber(readValue(settings, numbered(u"Dynamic", i)));
        if (rule.object.isEmpty() || !dynamic
            || !optionalRequirementNumber(readValue(settings, numbered(u"Static", i)), rule.staticModulus)
            || !optionalRequirementNumber(readValue(settings, numbered(u"LargestCv", i)), rule.largestCvPercent))
            return std::nullopt;
        rule.dynamicModulus = *dynamic;
        rules << rule;
    }
    return rules;
}

std::optional<QList<RequirementRule>> readRequirementRules(const SettingsFile &settings)
{
    return readRequirementRules(settings.read());
}

bool writeRequirementRules(SettingsFile &settings, const QList<RequirementRule> &rules)
{
    QList<std::pair<QString, QString>> entries{{QStringLiteral("Layout"), Layout},
                                               {QStringLiteral("Count"), QString::number(rules.size())}};
    for (qsizetype i = 0; i < rules.size(); ++i) {
        const RequirementRule &rule = rules[i];
        entries << std::pair(numbered(u"Object", i + 1), rule.object)
                << std::pair(numbered(u"Material", i + 1), rule.material)
                << std::pair(numbered(u"Dynamic", i + 1), requirementNumberText(rule.dynamicModulus))
                << std::pair(numbered(u"Static", i + 1), optionalRequirementText(rule.staticModulus))
                << std::pair(numbered(u"LargestCv", i + 1), optionalRequirementText(rule.largestCvPercent));
    }
    return settings.writeSection(RequirementsSection, entries);
}

} // namespace kvt
