#pragma once

#include "prepared_report.h"
#include "support/bilingual.h"

#include <QByteArray>
#include <QString>

namespace kvt {

// The program's own file of a prepared report: the pages as the preview shows
// them, to be printed or exported again without the measurements. UTF-8 JSON
// (its layout is in src/report/README.md) naming its format and version.
inline constexpr char PreparedReportFormatName[] = "kvt10-prepared-report";
inline constexpr int PreparedReportVersion = 1;
inline constexpr char PreparedReportExtension[] = ".kvtreport";
inline constexpr char PreparedReportFilter[] = "kvtreport-files (*.kvtreport);;All files (*.*)";

// What a file may hold at most; anything beyond is taken for damage. The
// largest report of the instrument's 3557 impacts is a few megabytes.
namespace prepared_report_limits {
inline constexpr qint64 FileBytes = 32 * 1024 * 1024;
inline constexpr qsizetype Pages = 10000;
inline constexpr qsizetype BandsPerPage = 1000;
inline constexpr qsizetype TextsPerBand = 1000;
inline constexpr qsizetype TextLength = 10000;
inline constexpr qsizetype FontFamilyLength = 200;
inline constexpr qreal Length = 10000; // millimetres, for the paper and every box
inline constexpr qreal PointSize = 1000;
} // namespace prepared_report_limits

QByteArray encodePreparedReport(const PreparedReport &report);

enum class PreparedReportStatus { Read, CannotOpen, Damaged, Newer };

struct PreparedReportFile {
    PreparedReportStatus status = PreparedReportStatus::Damaged;
    PreparedReport report; // when read
};

// Takes nothing on trust: a file that is not JSON, names another format, has
// a version this program does not know or a part missing, of the wrong kind
// or beyond the limits is refused whole.
PreparedReportFile decodePreparedReport(const QByteArray &bytes);
PreparedReportFile readPreparedReportFile(const QString &path);

// Why a file was not read, in the program's words, with the file's name.
QString preparedReportFailure(PreparedReportStatus status, const QString &path, Language language);

} // namespace kvt
