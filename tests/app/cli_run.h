#pragma once

// kvt10-cli (KVT10_CLI) run as its own process, as a script runs it.

#include <QProcess>
#include <QStringList>

namespace kvt::testing {

struct CliRun {
    int exitCode = -1; // also when the tool crashed or did not end
    QByteArray out;
    QByteArray err;
};

inline CliRun runCli(const QStringList &arguments,
                     const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KVT10_CLI), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace kvt::testing
