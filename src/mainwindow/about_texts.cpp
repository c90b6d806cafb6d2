#include "about_texts.h"

#include "kvt_version.h"
#include "support/common_texts.h"

#include <QCoreApplication>
#include <QStringList>

namespace kvt {

using namespace Qt::StringLiterals;

namespace {

QString russianMonth(const QString &month)
{
    static const QList<std::pair<QString, QString>> months = {
        {u"Jan"_s, u" января "_s},  {u"Feb"_s, u" февраля "_s}, {u"Mar"_s, u" марта "_s},
        {u"Apr"_s, u" апреля "_s},  {u"May"_s, u" мая "_s},     {u"Jun"_s, u" июня "_s},
        {u"Jul"_s, u" июля "_s},    {u"Aug"_s, u" августа "_s}, {u"Sep"_s, u" сентября "_s},
        {u"Oct"_s, u" октября "_s}, {u"Nov"_s, u" ноября "_s},  {u"Dec"_s, u" декабря "_s},
    };
    for (const auto &[english, russian] : months)
        if (english == month)
            return russian;
    return u" января "_s;
}

} // namespace

std::optional<VersionData> programVersionData()
{
    return executableVersionData(QCoreApplication::applicationFilePath());
}

QString programBuildDate()
{
    return QStringLiteral(__DATE__);
}

std::optional<QString> aboutDateText(const QString &buildDate, Language language)
{
    const QStringList fields = buildDate.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() != 3 || fields[0].size() > 3 || fields[1].size() > 2 || fields[2].size() > 4)
        return std::nullopt;
    const QString &month = fields[0];
    const QString &day = fields[1];
    const QString &year = fields[2];
    if (language == Language::Russian)
        return u" от "_s + day + russianMonth(month) + year + u" г."_s;
    return u", "_s + day + u' ' + month + u' ' + year;
}

AboutTexts aboutTexts(const std::optional<VersionData> &version, const QString &buildDate, Language language)
{
    const bool russian = language == Language::Russian;
    AboutTexts texts;
    // The design texts, kept when the program has no version data.
    texts.phoneFax = u"тел./факс.:"_s;
    texts.multiLine = u"(многоканальный)"_s;
    texts.site = u"Сайт:"_s;
    texts.generalQuestions = u"Общие вопросы:"_s;
    texts.technicalSupport = u"Техподдержка:"_s;
    if (!version)
        return texts;
    texts.productName = ApplicationTitle.text(language);
    if (!russian) {
        texts.phoneFax = u"Phone/Fax:"_s;
        texts.multiLine = u"(multi-line)"_s;
        texts.site = u"Site:"_s;
        texts.generalQuestions = u"General questions:"_s;
        texts.technicalSupport = u"Technical Support:"_s;
    }

    const std::optional<QString> date = aboutDateText(buildDate, language);
    if (!date)
        return texts;
    if (!version->internalName.isEmpty())
        texts.caption = (russian ? u"О программе "_s : u"About "_s) + version->internalName;
    if (!version->fileVersion.isEmpty())
        texts.version = (russian ? u"Версия "_s : u"Version "_s) + version->fileVersion + *date;
    if (!version->legalCopyright.isEmpty())
        texts.copyright = russian ? version->legalCopyright : QStringLiteral(KVT10_ENGLISH_COPYRIGHT);
    return texts;
}

QString mailtoAddress(const QString &address, const QString &applicationTitle)
{
    return u"mailto:"_s + address + u"?Subject="_s + applicationTitle;
}

} // namespace kvt
