#pragma once

#include "prepared_report.h"

#include <QByteArray>

namespace kvt {

// The report as a word-processor document in a QTextDocumentWriter format
// ("HTML", "ODF"): the title, then one framed table of the column heads and
// every record, the heads repeated where the table breaks across pages.
QByteArray reportDocument(const PreparedReport &report, const QByteArray &format);

} // namespace kvt
