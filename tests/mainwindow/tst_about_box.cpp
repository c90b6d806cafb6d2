#include "mainwindow/about_box.h"
#include "mainwindow/about_texts.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

// Where a label draws its text, in the label's own coordinates: its font's
// metrics over its contents, wrapped to its width where it wraps.
QRect textRect(const QLabel &label)
{
    const bool rich = label.textFormat() == Qt::RichText
                      || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    const QString text = rich ? QTextDocumentFragment::fromHtml(label.text()).toPlainText() : label.text();
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return label.fontMetrics().boundingRect(label.contentsRect(), flags, text);
}

QString describe(const QRect &rect)
{
    return QStringLiteral("(%1,%2 %3×%4)").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
private slots:
    void textsFit_data();
    void textsFit();
    void showsTheProgramsIcon();
};

void TestAboutBox::textsFit_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("buildDate");

    // The longest version line has a two-digit day and, in Russian, "сентября".
    QTest::newRow("Russian, this build") << Language::Russian << programBuildDate();
    QTest::newRow("Russian, longest date") << Language::Russian << "Sep 30 2026";
    QTest::newRow("English, this build") << Language::English << programBuildDate();
    QTest::newRow("English, longest date") << Language::English << "Sep 30 2026";
}

// Every text lies whole inside its label and inside the panel's bevel, and no
// text runs into another or into the icon; the OK button is inside the box,
// below the panel.
void TestAboutBox::textsFit()
{
    QFETCH(Language, language);
    QFETCH(QString, buildDate);

    // The program's own version data (on Windows, kvt10.exe's version resource).
    const std::optional<VersionData> version = executableVersionData(KVT10_PROGRAM);
    TAboutBox box(language, nullptr, buildDate, version);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.findChild<QLabel *>("Version")->text(), aboutTexts(version, buildDate, language).version);

    const QWidget *panel = box.findChild<QLabel *>("ProductName")->parentWidget();
    const QWidget *icon = box.findChild<QWidget *>("ProgramIcon");
    QVERIFY(panel->contentsRect().contains(icon->geometry()));
    QList<std::pair<QString, QRect>> placed{{icon->objectName(), icon->geometry()}};
    const QList<QLabel *> labels = panel->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 12);
    for (const QLabel *label : labels) {
        const QString name = label->objectName();
        const QRect text = textRect(*label);
        QVERIFY2(label->rect().contains(text), qPrintable(name + " cuts its text " + describe(text) + " at "
                                                           + describe(label->rect())));
        const QRect inPanel = text.translated(label->pos());
        QVERIFY2(panel->contentsRect().contains(inPanel), qPrintable(name + "'s text " + describe(inPanel)
                                                                     + " leaves the panel "
                                                                     + describe(panel->contentsRect())));
        for (const auto &[otherName, other] : placed)
            QVERIFY2(!inPanel.intersects(other), qPrintable(name + "'s text " + describe(inPanel) + " runs into "
                                                             + otherName + "'s " + describe(other)));
        placed.append({name, inPanel});
    }
    // Wrapping may put the numbers on lines of their own, never break one.
    const QLabel *phones = box.findChild<QLabel *>("Comments");
    for (const QString &number : QString::fromUtf16(MakerPhones).split(QStringLiteral(", ")))
        QVERIFY2(phones->fontMetrics().horizontalAdvance(number + u',') <= phones->contentsRect().width(),
                 qPrintable(number));

    const QWidget *ok = box.findChild<QPushButton *>("OKButton");
    QVERIFY(box.rect().contains(ok->geometry()));
    QVERIFY(!ok->geometry().intersects(panel->geometry()));
}

// The picture the build drew from the program's icon, not a style's stand-in.
void TestAboutBox::showsTheProgramsIcon()
{
    const QImage drawn(QStringLiteral(KVT10_ICON_PICTURE));
    QVERIFY2(!drawn.isNull(), KVT10_ICON_PICTURE);
    TAboutBox box(Language::Russian);
    const QIcon icon = box.findChild<QToolButton *>("ProgramIcon")->icon();
    QCOMPARE(icon.pixmap(drawn.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
