#include "cli_export.h"
#include "cli_info.h"
#include "cli_names.h"
#include "cli_read.h"
#include "cli_screen.h"
#include "cli_output.h"

#include <QCoreApplication>

// kvt10-cli: the program's core for scripts and batch work, without windows.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    const char16_t usage[] = u"usage: kvt10-cli [--lang ru|en] VERB ...\n"
                             u"verbs:\n"
                             u"  info FILE.kvt [--series N]   the series table, or one series' impact table\n"
                             u"  read -o FILE.kvt [--timeout SEC]   read the instrument and save its measurements\n"
                             u"  export FILE.kvt --series N [--impact I] --curve a|v|s|f|all --format wav|csv [--full] -o PATH\n"
                             u"  names read materials|objects [-o FILE] [--timeout SEC]   the instrument's name list\n"
                             u"  names write materials|objects FILE [--timeout SEC]   a name list file into the instrument\n"
                             u"  screen -o FILE.bmp [--timeout SEC]   the instrument's display as a bitmap\n";

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
    kvt::writeUtf8(stderr, QString::fromUtf16(usage));
    return kvt::CliUsage;
}
