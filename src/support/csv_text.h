#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace kvt {

// Rows of cells as the program's CSV files for spreadsheets hold them: UTF-8
// with a byte order mark, fields parted by semicolons (the numbers carry
// decimal commas), CR LF line ends; a text a spreadsheet would take for a
// formula is kept text.
QByteArray csvBytes(const QList<QStringList> &rows);

} // namespace kvt
