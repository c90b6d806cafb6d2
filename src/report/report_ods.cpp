#include "report_ods.h"

#include "report_sheet.h"

#include <QHash>
#include <QXmlStreamWriter>

#include <zip.h>

#include <functional>
#include <memory>

namespace kvt {
namespace {

constexpr char MimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

const QString Office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString Style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString Text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString Table = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString Fo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString Number = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0");
const QString Manifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");

QString millimetres(qreal length)
{
    return QString::number(length, 'f', 2) + QStringLiteral("mm");
}

QString horizontalAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        return QStringLiteral("start");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("end");
    return QStringLiteral("center");
}

QString verticalAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignTop)
        return QStringLiteral("top");
    if (alignment & Qt::AlignBottom)
        return QStringLiteral("bottom");
    return QStringLiteral("middle");
}

void startStyle(QXmlStreamWriter &xml, const QString &name, const QString &family)
{
    xml.writeStartElement(Style, QStringLiteral("style"));
    xml.writeAttribute(Style, QStringLiteral("name"), name);
    xml.writeAttribute(Style, QStringLiteral("family"), family);
}

// The automatic styles the table refers to, each written once, in the order
// first needed.
class Styles {
public:
    explicit Styles(const QString &fontFamily) : m_fontFamily(fontFamily) {}

    QString column(qreal width)
    {
        return named(QStringLiteral("co"), millimetres(width), [width](QXmlStreamWriter &xml, const QString &name) {
            startStyle(xml, name, QStringLiteral("table-column"));
            xml.writeEmptyElement(Style, QStringLiteral("table-column-properties"));
            xml.writeAttribute(Style, QStringLiteral("column-width"), millimetres(width));
            xml.writeEndElement();
        });
    }

    QString row(qreal height)
    {
        return named(QStringLiteral("ro"), millimetres(height), [height](QXmlStreamWriter &xml, const QString &name) {
            startStyle(xml, name, QStringLiteral("table-row"));
            xml.writeEmptyElement(Style, QStringLiteral("table-row-properties"));
            xml.writeAttribute(Style, QStringLiteral("row-height"), millimetres(height));
            xml.writeAttribute(Style, QStringLiteral("use-optimal-row-height"), QStringLiteral("false"));
            xml.writeEndElement();
        });
    }

    QString cell(const SheetCell &cell)
    {
        const QString numberStyle = cell.number ? decimals(cell.decimals) : QString();
        const QString key = QStringLiteral("%1 %2 %3 %4").arg(cell.pointSize).arg(cell.framed).arg(int(cell.alignment)).arg(numberStyle);
        return named(QStringLiteral("ce"), key, [this, cell, numberStyle](QXmlStreamWriter &xml, const QString &name) {
            startStyle(xml, name, QStringLiteral("table-cell"));
            if (!numberStyle.isEmpty())
                xml.writeAttribute(Style, QStringLiteral("data-style-name"), numberStyle);
            xml.writeEmptyElement(Style, QStringLiteral("table-cell-properties"));
            xml.writeAttribute(Style, QStringLiteral("vertical-align"), verticalAlignment(cell.alignment));
            // Alignment as the paragraph says, numbers too.
            xml.writeAttribute(Style, QStringLiteral("text-align-source"), QStringLiteral("fix"));
            if (cell.framed)
                xml.writeAttribute(Fo, QStringLiteral("border"), QStringLiteral("0.5pt solid #000000"));
            xml.writeEmptyElement(Style, QStringLiteral("paragraph-properties"));
            xml.writeAttribute(Fo, QStringLiteral("text-align"), horizontalAlignment(cell.alignment));
            xml.writeEmptyElement(Style, QStringLiteral("text-properties"));
            xml.writeAttribute(Fo, QStringLiteral("font-family"), m_fontFamily);
            xml.writeAttribute(Fo, QStringLiteral("font-size"), QString::number(cell.pointSize) + QStringLiteral("pt"));
            xml.writeEndElement();
        });
    }

    void write(QXmlStreamWriter &xml) const
    {
        xml.writeStartElement(Office, QStringLiteral("automatic-styles"));
        for (const auto &style : m_written)
            style(xml);
        xml.writeEndElement();
    }

private:
    using Writer = std::function<void(QXmlStreamWriter &)>;

    // A number style with a fixed count of decimals.
    QString decimals(int count)
    {
        return named(QStringLiteral("N"), QString::number(count), [count](QXmlStreamWriter &xml, const QString &name) {
            xml.writeStartElement(Number, QStringLiteral("number-style"));
            xml.writeAttribute(Style, QStringLiteral("name"), name);
            xml.writeEmptyElement(Number, QStringLiteral("number"));
            xml.writeAttribute(Number, QStringLiteral("decimal-places"), QString::number(count));
            xml.writeAttribute(Number, QStringLiteral("min-integer-digits"), QStringLiteral("1"));
            xml.writeEndElement();
        });
    }

    QString named(const QString &prefix, const QString &key,
                  const std::function<void(QXmlStreamWriter &, const QString &)> &write)
    {
        const QString fullKey = prefix + u' ' + key;
        if (const auto found = m_names.constFind(fullKey); found != m_names.cend())
            return *found;
        const QString name = prefix + QString::number(m_names.size() + 1);
        m_names.insert(fullKey, name);
        m_written.append([write, name](QXmlStreamWriter &xml) { write(xml, name); });
        return name;
    }

    QString m_fontFamily;
    QHash<QString, QString> m_names;
    QList<Writer> m_written;
};

void writeCell(QXmlStreamWriter &xml, const SheetCell &cell, Styles &styles)
{
    xml.writeStartElement(Table, QStringLiteral("table-cell"));
    xml.writeAttribute(Table, QStringLiteral("style-name"), styles.cell(cell));
    if (cell.columnsSpanned > 1)
        xml.writeAttribute(Table, QStringLiteral("number-columns-spanned"), QString::number(cell.columnsSpanned));
    if (cell.number) {
        xml.writeAttribute(Office, QStringLiteral("value-type"), QStringLiteral("float"));
        // The text's own digits, with a point: no rounding on the way.
        xml.writeAttribute(Office, QStringLiteral("value"), QString(cell.text).replace(u',', u'.'));
    } else {
        xml.writeAttribute(Office, QStringLiteral("value-type"), QStringLiteral("string"));
    }
    xml.writeTextElement(Text, QStringLiteral("p"), cell.text);
    xml.writeEndElement();
    for (int covered = 1; covered < cell.columnsSpanned; ++covered)
        xml.writeEmptyElement(Table, QStringLiteral("covered-table-cell"));
}

void writeNamespaces(QXmlStreamWriter &xml)
{
    const std::pair<QString, const char *> prefixes[] = {{Office, "office"}, {Style, "style"}, {Text, "text"},
                                                         {Table, "table"}, {Fo, "fo"}, {Number, "number"},
                                                         {Manifest, "manifest"}};
    for (const auto &[ns, prefix] : prefixes)
        xml.writeNamespace(ns, QString::fromLatin1(prefix));
}

void writeTable(QXmlStreamWriter &xml, const ReportSheet &sheet, Styles &styles)
{
    xml.writeStartElement(Table, QStringLiteral("table"));
    xml.writeAttribute(Table, QStringLiteral("name"), sheet.name);
    for (qreal width : sheet.columnWidths) {
        xml.writeEmptyElement(Table, QStringLiteral("table-column"));
        xml.writeAttribute(Table, QStringLiteral("style-name"), styles.column(width));
    }
    for (const SheetRow &row : sheet.rows) {
        xml.writeStartElement(Table, QStringLiteral("table-row"));
        xml.writeAttribute(Table, QStringLiteral("style-name"), styles.row(row.height));
        for (const SheetCell &cell : row.cells)
            writeCell(xml, cell, styles);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray contentXml(const ReportSheet &sheet)
{
    // The styles come before the table that names them: a first pass, thrown
    // away, gathers them.
    Styles styles(sheet.fontFamily);
    QByteArray gathered;
    QXmlStreamWriter gathering(&gathered);
    writeTable(gathering, sheet, styles);

    QByteArray content;
    QXmlStreamWriter xml(&content);
    xml.writeStartDocument();
    writeNamespaces(xml);
    xml.writeStartElement(Office, QStringLiteral("document-content"));
    xml.writeAttribute(Office, QStringLiteral("version"), QStringLiteral("1.2"));
    styles.write(xml);
    xml.writeStartElement(Office, QStringLiteral("body"));
    xml.writeStartElement(Office, QStringLiteral("spreadsheet"));
    writeTable(xml, sheet, styles);
    xml.writeEndDocument();
    return content;
}

QByteArray manifestXml()
{
    QByteArray manifest;
    QXmlStreamWriter xml(&manifest);
    xml.writeStartDocument();
    writeNamespaces(xml);
    xml.writeStartElement(Manifest, QStringLiteral("manifest"));
    xml.writeAttribute(Manifest, QStringLiteral("version"), QStringLiteral("1.2"));
    for (const auto &[path, type] : {std::pair{"/", MimeType}, std::pair{"content.xml", "text/xml"}}) {
        xml.writeEmptyElement(Manifest, QStringLiteral("file-entry"));
        xml.writeAttribute(Manifest, QStringLiteral("full-path"), QString::fromLatin1(path));
        xml.writeAttribute(Manifest, QStringLiteral("media-type"), QString::fromLatin1(type));
    }
    xml.writeEndDocument();
    return manifest;
}

struct ZipSourceDeleter {
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};
using ZipSource = std::unique_ptr<zip_source_t, ZipSourceDeleter>;

// The entries in order; the first is stored, the others deflated.
struct ZipEntry {
    const char *name;
    QByteArray bytes;
};

bool addEntry(zip_t *archive, const ZipEntry &entry, bool stored)
{
    zip_source_t *source = zip_source_buffer(archive, entry.bytes.constData(), zip_uint64_t(entry.bytes.size()), 0);
    if (!source)
        return false;
    const zip_int64_t index = zip_file_add(archive, entry.name, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return zip_set_file_compression(archive, zip_uint64_t(index), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) == 0;
}

// The archive built in memory: the container's bytes, or nothing.
std::optional<QByteArray> zipped(const QList<ZipEntry> &entries)
{
    ZipSource buffer(zip_source_buffer_create(nullptr, 0, 0, nullptr));
    if (!buffer)
        return std::nullopt;
    zip_t *archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, nullptr);
    if (!archive)
        return std::nullopt;
    // The archive frees its source when it is closed; the bytes are wanted after.
    zip_source_keep(buffer.get());
    bool added = true;
    for (qsizetype i = 0; added && i < entries.size(); ++i)
        added = addEntry(archive, entries[i], i == 0);
    if (!added) {
        zip_discard(archive);
        return std::nullopt;
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return std::nullopt;
    }

    zip_stat_t stat;
    if (zip_source_stat(buffer.get(), &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(buffer.get()) != 0)
        return std::nullopt;
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer.get(), bytes.data(), stat.size);
    zip_source_close(buffer.get());
    if (read != zip_int64_t(stat.size))
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> reportOds(const PreparedReport &report)
{
    const std::optional<ReportSheet> sheet = reportSheet(report);
    if (!sheet)
        return std::nullopt;
    // The type first and uncompressed, so that a reader knows the file by its start.
    return zipped({{"mimetype", MimeType},
                   {"content.xml", contentXml(*sheet)},
                   {"META-INF/manifest.xml", manifestXml()}});
}

} // namespace kvt
