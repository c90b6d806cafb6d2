#include "cli_export.h"
#include "cli_info.h"
#include "cli_names.h"
#include "cli_read.h"
#include "cli_screen.h"
#include "cli_output.h"
#include "cli_report.h"

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
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

// kvt10-cli: the program's core for scripts and batch work, without windows.
int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    const char16_t usage[] = u"usage: kvt10-cli [--lang ru|en] VERB ...\n"
                             u"verbs:\n"
                             u"  info FILE.kvt [--series N]   the series table, or one series' impact table\n"
                             u"  read -o FILE.kvt [--timeout SEC]   read the instrument and save its measurements\n"
                             u"  export FILE.kvt --series N [--impact I] --curve a|v|s|f|all --format wav|csv [--full] -o PATH\n"
                             u"  names read materials|objects [-o FILE] [--timeout SEC]   the instrument's name list\n"
                             u"  names write materials|objects FILE [--timeout SEC]   a name list file into the instrument\n"
                             u"  screen -o FILE.bmp [--timeout SEC]   the instrument's display as a bitmap\n"
                             u"  report FILE.kvt (--pdf|--html|--odt|--txt|--csv) OUT   the printed report of the series\n";

    kvt::Language language = kvt::Language::English;
    const qsizetype lang = arguments.indexOf(u"--lang");
    if (lang >= 0) {
        const QString value = arguments.value(lang + 1);
        if (value != u"ru" && value != u"en") {
            kvt::writeUtf8(stderr, QString::fromUtf16(usage));
            return kvt::CliUsage;
        }
        language = value == u"ru" ? kvt::Language::Russian : kvt::Language::English;
        arguments.remove(lang, 2);
    }

    const QString verb = arguments.value(0);
    if (verb == u"info")
        return kvt::runInfo(arguments.mid(1), language);
    if (verb == u"export")
        return kvt::runExport(arguments.mid(1), language);
    if (verb == u"read")
        return kvt::runRead(arguments.mid(1), language);
    if (verb == u"names")
        return kvt::runNames(arguments.mid(1), language);
    if (verb == u"screen")
        return kvt::runScreen(arguments.mid(1), language);
    if (verb == u"report")
        return kvt::runReport(arguments.mid(1), language);
    kvt::writeUtf8(stderr, QString::fromUtf16(usage));
    return kvt::CliUsage;
}
