#include "cli_run.h"
#include "report/report_files.h"

#include <QFile>
#include <QTest>

namespace {

// No instrument library: a verb that ran instead of showing its help fails
// fast and never reaches a real instrument.
kvt::testing::CliRun runCli(const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KVT10_LIBUSB", "/nonexistent/libusb.so");
    env.remove("KVT10_PIPE_DEVICE");
    return kvt::testing::runCli(arguments, env);
}

const QByteArray ToolUsage = "usage: kvt10-cli [--lang ru|en] VERB ...\n";

} // namespace

class TestCliUsage : public QObject {
    Q_OBJECT
private slots:
    void usage_data();
    void usage();
    void reportFormatsListed();
    void manualPageNamesEveryVerb();
    void version_data();
    void version();
};

void TestCliUsage::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("usage"); // how the usage begins: on stdout after 0, on stderr after 2

    // Asked for, the usage is the output.
    for (const char *help : {"--help", "-h"}) {
        QTest::addRow("%s", help) << QStringList{help} << 0 << ToolUsage;
        for (const char *verb : {"info", "read", "export", "names", "screen", "report", "stats"})
            QTest::addRow("%s %s", verb, help) << QStringList{verb, help} << 0
                                               << "usage: kvt10-cli " + QByteArray(verb) + ' ';
    }
    QTest::newRow("in Russian") << QStringList{"--lang", "ru", "--help"} << 0 << ToolUsage;
    QTest::newRow("among a verb's arguments") << QStringList{"info", "FILE.kvt", "--series", "2", "--help"} << 0
                                              << QByteArray("usage: kvt10-cli info ");
    QTest::newRow("before the verb") << QStringList{"--help", "export"} << 0
                                     << QByteArray("usage: kvt10-cli export ");
    QTest::newRow("instead of a device verb's work")
        << QStringList{"read", "-o", "out.kvt", "--timeout", "1", "-h"} << 0 << QByteArray("usage: kvt10-cli read ");
    QTest::newRow("with an unknown verb") << QStringList{"-h", "show"} << 0 << ToolUsage;

    // Bad usage.
    QTest::newRow("no verb") << QStringList{} << 2 << ToolUsage;
    QTest::newRow("unknown verb") << QStringList{"show"} << 2 << ToolUsage;
    QTest::newRow("version with an argument") << QStringList{"--version", "info"} << 2 << ToolUsage;
    QTest::newRow("version after a verb") << QStringList{"info", "--version"} << 2
                                          << QByteArray("usage: kvt10-cli info ");
    QTest::newRow("unknown language, help asked") << QStringList{"--lang", "de", "--help"} << 2 << ToolUsage;
    QTest::newRow("verb without its arguments") << QStringList{"screen"} << 2
                                                << QByteArray("usage: kvt10-cli screen ");
    QTest::newRow("verb with an unknown option") << QStringList{"export", "FILE.kvt", "--speed", "2"} << 2
                                                 << QByteArray("usage: kvt10-cli export ");
}

void TestCliUsage::reportFormatsListed()
{
    // Every format the report verb writes, in both usages that name them.
    const QByteArray tool = runCli({"--help"}).out;
    const QByteArray verb = runCli({"report", "--help"}).out;
    for (const kvt::ReportFileFormat &file : kvt::ReportFileFormats) {
        QVERIFY2(tool.contains(QByteArray("|") + file.option) || tool.contains(QByteArray("(") + file.option),
                 file.option);
        QVERIFY2(verb.contains(file.option), file.option);
    }
    for (const char *option : {"--summary", "--rules FILE"}) {
        QVERIFY2(tool.contains(option), option);
        QVERIFY2(verb.contains(option), option);
    }
}

void TestCliUsage::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, usage);

    const kvt::testing::CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QByteArray &shown = exitCode == 0 ? run.out : run.err;
    const QByteArray &silent = exitCode == 0 ? run.err : run.out;
    QVERIFY2(shown.startsWith(usage), shown.constData());
    QVERIFY(shown.endsWith('\n'));
    QCOMPARE(silent, QByteArray());
}

// Every verb the tool's usage lists, with each of its forms, is in the
// manual page's synopsis and has its paragraph there.
void TestCliUsage::manualPageNamesEveryVerb()
{
    QFile file(QStringLiteral(KVT10_CLI_MANUAL));
    QVERIFY2(file.open(QIODevice::ReadOnly), KVT10_CLI_MANUAL);
    const QString page = QString::fromUtf8(file.readAll());
    const QString usage = QString::fromUtf8(runCli({"--help"}).out);
    const QString verbs = usage.section(QStringLiteral("verbs:\n"), 1);
    QVERIFY(!verbs.isEmpty());
    for (const QString &line : verbs.split(u'\n', Qt::SkipEmptyParts)) {
        const QString verb = line.section(u' ', 2, 2);
        const QString form = line.section(u' ', 3, 3); // names read, names write
        const QString named = verb == u"names" ? verb + u' ' + form : verb;
        QVERIFY2(page.contains(QStringLiteral("\n.B ") + named), qPrintable(named + " is not in the synopsis"));
        QVERIFY2(page.contains(QStringLiteral(".TP\n.B ") + named), qPrintable(named + " has no paragraph"));
    }
}

void TestCliUsage::version_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("alone") << QStringList{"--version"};
    QTest::newRow("with a language") << QStringList{"--lang", "ru", "--version"};
}

void TestCliUsage::version()
{
    QFETCH(QStringList, arguments);

    const kvt::testing::CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("kvt10-cli 1.2.2.28\n"));
    QCOMPARE(run.err, QByteArray());
}

QTEST_GUILESS_MAIN(TestCliUsage)
#include "tst_cli_usage.moc"
