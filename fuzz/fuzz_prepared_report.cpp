// Feeds arbitrary bytes to the report file's reader as a whole file. Whatever
// it accepts must lie within the reader's limits and come back the same when
// written and read again.

#include "report/prepared_report_file.h"

#include <QByteArray>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

namespace limits = kvt::prepared_report_limits;

void checkLimits(const kvt::PreparedReport &report)
{
    check(!report.pages.isEmpty() && report.pages.size() <= limits::Pages);
    check(report.page.paper.width() > 0 && report.page.paper.width() <= limits::Length);
    check(report.page.paper.height() > 0 && report.page.paper.height() <= limits::Length);
    for (const kvt::PreparedPage &page : report.pages) {
        check(page.bands.size() <= limits::BandsPerPage);
        for (const kvt::PreparedBand &band : page.bands) {
            check(band.texts.size() <= limits::TextsPerBand);
            for (const kvt::ReportText &text : band.texts) {
                check(text.text.size() <= limits::TextLength);
                check(text.pointSize > 0 && text.pointSize <= limits::PointSize);
                check(std::isfinite(text.box.left()) && std::abs(text.box.left()) <= limits::Length);
                check(text.box.width() >= 0 && text.box.width() <= limits::Length);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw data, not a copy, so a read past the input's end is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const kvt::PreparedReportFile file = kvt::decodePreparedReport(bytes);
    if (file.status != kvt::PreparedReportStatus::Read) {
        check(file.report.pages.isEmpty());
        return 0;
    }
    checkLimits(file.report);
    const QByteArray written = kvt::encodePreparedReport(file.report);
    const kvt::PreparedReportFile again = kvt::decodePreparedReport(written);
    check(again.status == kvt::PreparedReportStatus::Read);
    check(kvt::encodePreparedReport(again.report) == written);
    return 0;
}
