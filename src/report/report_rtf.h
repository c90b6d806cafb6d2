#pragma once

#include "prepared_report.h"

#include <QByteArray>

namespace kvt {

// The report as an RTF document that breaks into pages where the report does:
// the report's paper and margins, each band a table row as high as its texts,
// the texts side by side as cells up to their boxes' right edges, centred both
// ways, framed where the text is, in the PDF's font sizes (smaller where a text
// would be wider than its box). The page footer is the document's footer, its
// page number a field, on the pages the report prints it on. Windows-1251
// (\ansicpg1251) in seven bits: a character beyond ASCII is \uN followed by its
// Windows-1251 byte ("?" where it has none) for readers that know no Unicode.
QByteArray reportRtf(const PreparedReport &report);

} // namespace kvt
