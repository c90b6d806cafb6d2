// The user guide as the built program finds it beside itself (Help/): the
// captions of every menu the window shows, in the guide of their language;
// the pictures it shows; its links; and the sections F1 opens.
#include "mainwindow/formmain.h"
#include "mainwindow/guide_sections.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

const QString HelpFolder = QStringLiteral(KVT10_HELP_FOLDER);

QString guideHtml(const QString &name)
{
    QFile file(HelpFolder + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What a reader sees of the text: entities resolved, lines joined. A caption
// must read in the guide as the menu writes it ("..." never "…").
QString readable(QString text)
{
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}

QStringList captured(const QString &html, const QString &pattern)
{
    QStringList values;
    for (const QRegularExpressionMatch &match : QRegularExpression(pattern).globalMatch(html))
        values << match.captured(1);
    return values;
}

QSet<QString> ids(const QString &html)
{
    const QStringList list = captured(html, QStringLiteral("\\bid=\"([^\"]+)\""));
    return QSet<QString>(list.begin(), list.end());
}

// The window of a language in the full view, where every command is offered.
struct GuideWindow {
    explicit GuideWindow(const QByteArray &langId)
    {
        QFile ini(settings.path());
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Config]\r\nLangId=" + langId + "\r\nSuper=Y\r\n");
        ini.close();
        window = std::make_unique<TForm1>(store, settings, prompts, folder.path());
    }
    QTemporaryDir folder;
    SettingsFile settings{folder.filePath("KVT10.ini")};
    MeasurementStore store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
};

void addGuideRows()
{
    QTest::addColumn<QString>("guide");
    QTest::newRow("Russian guide") << guideFileName(Language::Russian);
    QTest::newRow("English guide") << guideFileName(Language::English);
}

} // namespace

class TestUserGuide : public QObject {
    Q_OBJECT
private slots:
    void menuCaptions_data();
    void menuCaptions();
    void menuOrder_data() { menuCaptions_data(); }
    void menuOrder();
    void pictures_data() { addGuideRows(); }
    void pictures();
    void links_data() { addGuideRows(); }
    void links();
    void helpSections_data() { addGuideRows(); }
    void helpSections();
    void everyPictureIsShown();
};

void TestUserGuide::menuCaptions_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QByteArray>("langId");

    QTest::newRow("Russian") << Language::Russian << QByteArray("Rus");
    QTest::newRow("English") << Language::English << QByteArray("Eng");
}

void TestUserGuide::menuCaptions()
{
    QFETCH(Language, language);
    QFETCH(QByteArray, langId);

    GuideWindow guideWindow(langId);
    const TForm1 &window = *guideWindow.window;

    // The captions as the window shows them: menu titles and every visible item
    // of the menu bar's menus, their submenus and the context menus.
    QStringList captions;
    for (const QMenu *menu : window.findChildren<QMenu *>()) {
        captions << menu->title();
        for (const QAction *action : menu->actions())
            if (!action->isSeparator() && action->isVisible())
                captions << action->text();
    }
    const QString guide = readable(guideHtml(guideFileName(language)));
    QVERIFY2(!guide.isEmpty(), "no guide");
    QStringList missing;
    for (QString caption : captions) {
        caption = readable(caption.remove(u'&'));
        if (!caption.isEmpty() && !guide.contains(caption) && !missing.contains(caption))
            missing << caption;
    }
    QVERIFY2(captions.size() > 20, "the window's menus were not found");
    QVERIFY2(missing.isEmpty(), qPrintable("not in the guide: " + missing.join(" | ")));
}

// Each main menu's table in the guide lists the menu's commands in the
// menu's order (a row may say more after the caption, as the language
// submenu's "> Русский, English").
void TestUserGuide::menuOrder()
{
    QFETCH(Language, language);
    QFETCH(QByteArray, langId);

    GuideWindow guideWindow(langId);
    const QString html = guideHtml(guideFileName(language));
    const std::pair<const char *, const char *> sections[] = {{"itmFile", "menu-file"},
                                                              {"itmEdit", "menu-edit"},
                                                              {"itmCmd", "menu-command"},
                                                              {"itmParam", "menu-parameters"},
                                                              {"itmHelp", "menu-help"}};
    for (const auto &[menuName, section] : sections) {
        const QMenu *menu = guideWindow.window->findChild<QMenu *>(menuName);
        QVERIFY2(menu, menuName);
        QStringList inMenu;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator() && action->isVisible())
                inMenu << readable((action->menu() ? action->menu()->title() : action->text()).remove(u'&'));

        const qsizetype start = html.indexOf(QStringLiteral("id=\"%1\"").arg(QLatin1String(section)));
        QVERIFY2(start >= 0, section);
        const QString table = html.mid(start, html.indexOf(QStringLiteral("</table>"), start) - start);
        QStringList inGuide;
        for (const QString &cell : captured(table, QStringLiteral("<tr><td>(.*?)</td>")))
            inGuide << readable(cell);
        // Row i of the guide begins with the menu's command i.
        bool inOrder = inGuide.size() == inMenu.size();
        for (qsizetype i = 0; inOrder && i < inMenu.size(); ++i)
            inOrder = inGuide[i].startsWith(inMenu[i]);
        QVERIFY2(inOrder, qPrintable(QStringLiteral("%1: the menu has %2; the guide lists %3")
                                         .arg(QLatin1String(section), inMenu.join(" | "), inGuide.join(" | "))));
    }
}

void TestUserGuide::pictures()
{
    QFETCH(QString, guide);

    const QStringList sources = captured(guideHtml(guide), QStringLiteral("<img [^>]*src=\"([^\"]+)\""));
    QVERIFY2(!sources.isEmpty(), "the guide shows no picture");
    for (const QString &source : sources) {
        QVERIFY2(source.startsWith(u"images/"), qPrintable(source + " is not in images/"));
        const QImage picture(HelpFolder + u'/' + source);
        QVERIFY2(!picture.isNull(), qPrintable(source + " is missing or no picture"));
    }
}

void TestUserGuide::links()
{
    QFETCH(QString, guide);

    const QString html = guideHtml(guide);
    const QStringList idList = captured(html, QStringLiteral("\\bid=\"([^\"]+)\""));
    QCOMPARE(QSet<QString>(idList.begin(), idList.end()).size(), idList.size());
    for (const QString &link : captured(html, QStringLiteral("\\bhref=\"([^\"]+)\""))) {
        if (link.startsWith(u"http") || link.startsWith(u"mailto:"))
            continue;
        const QString file = link.section(u'#', 0, 0);
        const QString anchor = link.section(u'#', 1);
        const QString target = file.isEmpty() ? html : guideHtml(file);
        QVERIFY2(!target.isEmpty(), qPrintable(link + ": no such file beside the guide"));
        if (!anchor.isEmpty())
            QVERIFY2(ids(target).contains(anchor), qPrintable(link + ": no such section"));
    }
}

void TestUserGuide::helpSections()
{
    QFETCH(QString, guide);

    const QSet<QString> sections = ids(guideHtml(guide));
    QStringList anchors{QString::fromLatin1(GuideStartAnchor)};
    for (const auto *table : {&guideWindowSections(), &guideFocusSections()})
        for (const GuideSection &section : *table)
            anchors << QString::fromLatin1(section.anchor);
    for (const QString &anchor : anchors)
        QVERIFY2(sections.contains(anchor), qPrintable("F1 opens #" + anchor + ", which the guide lacks"));
}

void TestUserGuide::everyPictureIsShown()
{
    // A picture no guide shows would only travel as dead weight.
    QString shown;
    for (Language language : {Language::Russian, Language::English})
        shown += guideHtml(guideFileName(language));
    const QStringList pictures = QDir(HelpFolder + QStringLiteral("/images")).entryList({"*.png"}, QDir::Files);
    QVERIFY2(!pictures.isEmpty(), "no pictures beside the guide");
    for (const QString &picture : pictures)
        QVERIFY2(shown.contains("src=\"images/" + picture + '"'), qPrintable(picture + " is shown by no guide"));
}

QTEST_MAIN(TestUserGuide)
#include "tst_user_guide.moc"
