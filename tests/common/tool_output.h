#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

namespace kvt::testing {

// The standard output of one of this machine's reading programs (pdftotext,
// pdfinfo, python3); nothing when the program cannot be started, as under
// Wine, which runs none of them.
inline std::optional<QString> toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return std::nullopt;
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace kvt::testing

// In a test: skip it when the reading program could not run here.
#define SKIP_WITHOUT_TOOL(output)                                                                                      \
    if (!(output))                                                                                                     \
    QSKIP("the program that reads the file back does not run on this system")
