#include "guide_sections.h"

namespace kvt {

const QList<GuideSection> &guideWindowSections()
{
    static const QList<GuideSection> sections = {
        {"frmMaterials", "names"},
        {"frmObjects", "names"},
        {"frmScreenshot", "screen"},
        {"ReportPreview", "report"},
        {"RequirementsDialog", "requirements"},
        {"StatisticsWindow", "statistics"},
    };
    return sections;
}

const QList<GuideSection> &guideFocusSections()
{
    static const QList<GuideSection> sections = {
        {"StringGrid1", "tables"},        {"StringGrid2", "tables"},     {"Chart1", "chart"},
        {"CheckBoxAccel", "chart"},       {"CheckBoxVelocity", "chart"}, {"CheckBoxDisplacement", "chart"},
        {"CheckBoxForce", "chart"},
    };
    return sections;
}

namespace {

QString find(const QList<GuideSection> &sections, const QString &name)
{
    for (const GuideSection &section : sections)
        if (name == QLatin1String(section.objectName))
            return QString::fromLatin1(section.anchor);
    return {};
}

} // namespace

QString guideSection(const QString &windowName, const QString &focusName)
{
    QString anchor = find(guideWindowSections(), windowName);
    if (anchor.isEmpty())
        anchor = find(guideFocusSections(), focusName);
    return anchor.isEmpty() ? QString::fromLatin1(GuideStartAnchor) : anchor;
}

QString guideFileName(Language language)
{
    return language == Language::Russian ? QStringLiteral("KVT10Help.ru.html") : QStringLiteral("KVT10Help.en.html");
}

} // namespace kvt
