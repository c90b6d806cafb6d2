#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace kvt::testing {

// The standard output of one of this machine's reading programs (pdftotext,
// pdfinfo, python3, soffice); nothing when the program cannot be started, as under
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

// A word processor's reading of an RTF file: LibreOffice, without a window,
// prints it to a PDF in the folder given, with a profile of its own there so
// that suites running side by side do not share one. The PDF's path, or
// nothing when LibreOffice cannot be started here.
inline std::optional<QString> rtfAsPdf(const QString &rtf, const QString &folder)
{
    const QString profile = QUrl::fromLocalFile(folder + QStringLiteral("/libreoffice-profile")).toString();
    if (!toolOutput(QStringLiteral("soffice"), {"-env:UserInstallation=" + profile, "--headless", "--convert-to", "pdf",
                                                "--outdir", folder, rtf}))
        return std::nullopt;
    return folder + u'/' + QFileInfo(rtf).completeBaseName() + QStringLiteral(".pdf");
}

} // namespace kvt::testing

// In a test: skip it when the reading program could not run here.
#define SKIP_WITHOUT_TOOL(output)                                                                                      \
    if (!(output))                                                                                                     \
    QSKIP("the program that reads the file back does not run on this system")
