#include "cli_export.h"
#include "cli_info.h"
#include "cli_names.h"
#include "cli_read.h"
#include "cli_screen.h"
#include "cli_output.h"
#include "cli_report.h"
#include "cli_stats.h"
#include "kvt_version.h"
#include "support/platform.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstring>
#include <memory>

namespace {

// The report draws its pages with Qt Gui's fonts, which need a Gui
// application; the tool never shows a window, so it asks for no display.
// Its stderr carries the tool's own messages, not the platform's remarks on
// the session (such as a missing XDG_RUNTIME_DIR on a server).
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "report") == 0) {
            qputenv("QT_QPA_PLATFORM", kvt::windowlessGuiPlatform());
            QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// The tool's usage: asked for without a verb, or after bad usage outside any verb.
constexpr char16_t Usage[] =
    u"usage: kvt10-cli [--lang ru|en] VERB ...\n"
    u"       kvt10-cli [VERB] --help|-h   this text, or the verb's usage\n"
    u"       kvt10-cli --version\n"
    u"verbs:\n"
    u"  info FILE.kvt [--series N]   the series table, or one series' impact table\n"
    u"  read -o FILE.kvt [--timeout SEC]   read the instrument and save its measurements\n"
    u"  export FILE.kvt --series N [--impact I] --curve a|v|s|f|all --format wav|csv [--full] -o PATH\n"
    u"  names read materials|objects [-o FILE] [--timeout SEC]   the instrument's name list\n"
    u"  names write materials|objects FILE [--timeout SEC]   a name list file into the instrument\n"
    u"  screen -o FILE.bmp [--timeout SEC]   the instrument's display as a bitmap\n"
    u"  report FILE.kvt (--pdf|--html|--odt|--rtf|--xlsx|--ods|--txt|--csv|--prepared) OUT [--summary [--rules FILE]]   the printed report of the series\n"
    u"  report --open REPORT.kvtreport (--pdf|--html|--odt|--rtf|--xlsx|--ods|--txt|--csv) OUT   a saved report in a format\n"
    u"  stats FILE.kvt [--rules FILE] [--csv]   the series' statistics per object and material against the requirements\n";

struct Verb {
    const char16_t *name;
    const char16_t *usage;
    int (*run)(const QStringList &arguments, kvt::Language language);
};
constexpr Verb Verbs[] = {
    {u"info", kvt::InfoUsage, kvt::runInfo},       {u"export", kvt::ExportUsage, kvt::runExport},
    {u"read", kvt::ReadUsage, kvt::runRead},       {u"names", kvt::NamesUsage, kvt::runNames},
    {u"screen", kvt::ScreenUsage, kvt::runScreen}, {u"report", kvt::ReportUsage, kvt::runReport},
    {u"stats", kvt::StatsUsage, kvt::runStats},
};

const Verb *findVerb(const QString &name)
{
    for (const Verb &verb : Verbs)
        if (name == QStringView(verb.name))
            return &verb;
    return nullptr;
}

} // namespace

// kvt10-cli: the program's core for scripts and batch work, without windows.
int main(int argc, char *argv[])
{
    kvt::useBinaryStandardStreams();
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    kvt::Language language = kvt::Language::English;
    const qsizetype lang = arguments.indexOf(u"--lang");
    if (lang >= 0) {
        const QString value = arguments.value(lang + 1);
        if (value != u"ru" && value != u"en") {
            kvt::writeUtf8(stderr, QString::fromUtf16(Usage));
            return kvt::CliUsage;
        }
        language = value == u"ru" ? kvt::Language::Russian : kvt::Language::English;
        arguments.remove(lang, 2);
    }

    // --help or -h anywhere asks for the usage of the verb named first, or
    // else the tool's; asked for, it is the tool's output, not a complaint.
    const bool help = arguments.removeAll(QStringLiteral("--help")) + arguments.removeAll(QStringLiteral("-h")) > 0;
    const Verb *verb = findVerb(arguments.value(0));
    if (help) {
        kvt::writeUtf8(stdout, QString::fromUtf16(verb ? verb->usage : Usage));
        return kvt::CliSuccess;
    }
    if (arguments == QStringList{QStringLiteral("--version")}) {
        kvt::writeUtf8(stdout, QStringLiteral("kvt10-cli " KVT10_FILE_VERSION "\n"));
        return kvt::CliSuccess;
    }
    if (verb)
        return verb->run(arguments.mid(1), language);
    kvt::writeUtf8(stderr, QString::fromUtf16(Usage));
    return kvt::CliUsage;
}
