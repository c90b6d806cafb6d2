#include "prepared_report_file.h"

#include "files/file_texts.h"
#include "support/bounded_read.h"
#include "support/path_parts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace kvt {
namespace {

namespace limits = prepared_report_limits;

const TextPair NotAReport{u"Файл не является отчётом КВТ-1.0 или испорчен", u"File is not a KVT-1.0 report or is damaged"};
const TextPair NewerReport{u"Отчёт сохранён более новой версией программы, эта версия его не прочтёт",
                           u"The report was saved by a newer version of the program; this version cannot read it"};

// The words of the file for the engine's values; a word the file has that is
// not here makes it damaged.
template <typename Value> struct Word {
    Value value;
    const char *word;
};
const Word<BandKind> BandKinds[] = {{BandKind::ReportTitle, "title"},
                                    {BandKind::PageHeader, "header"},
                                    {BandKind::MasterData, "data"},
                                    {BandKind::PageFooter, "footer"}};
// Centred first: the engine knows no other way for any other alignment.
const Word<Qt::Alignment> HorizontalAlignments[] = {
    {Qt::AlignHCenter, "center"}, {Qt::AlignLeft, "left"}, {Qt::AlignRight, "right"}};
const Word<Qt::Alignment> VerticalAlignments[] = {
    {Qt::AlignVCenter, "center"}, {Qt::AlignTop, "top"}, {Qt::AlignBottom, "bottom"}};

// A value's word, or the first word for a value without one.
template <typename Value, size_t N> QString wordOf(const Word<Value> (&words)[N], Value value)
{
    for (const Word<Value> &word : words)
        if (word.value == value)
            return QString::fromLatin1(word.word);
    return QString::fromLatin1(words[0].word);
}

template <typename Value, size_t N> std::optional<Value> valueOf(const Word<Value> (&words)[N], const QJsonValue &json)
{
    for (const Word<Value> &word : words)
        if (json.isString() && json.toString() == QLatin1String(word.word))
            return word.value;
    return std::nullopt;
}

// A length in millimetres or a size in points, finite and within its range.
std::optional<qreal> number(const QJsonValue &json, qreal least, qreal most)
{
    if (!json.isDouble())
        return std::nullopt;
    const qreal value = json.toDouble();
    if (!std::isfinite(value) || value < least || value > most)
        return std::nullopt;
    return value;
}

// Whether XML 1.0 can hold a character: not the controls but tab and the line
// ends, not U+FFFE or U+FFFF, not half of a surrogate pair.
bool xmlHolds(QStringView text, qsizetype at)
{
    const char16_t unit = text[at].unicode();
    if (QChar::isHighSurrogate(unit))
        return at + 1 < text.size() && text[at + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(unit))
        return at > 0 && text[at - 1].isHighSurrogate();
    return unit >= 0x20 ? unit != 0xFFFE && unit != 0xFFFF : unit == u'\t' || unit == u'\n' || unit == u'\r';
}

// A text as every export can write it: the spreadsheets and the ODF text are
// XML, and the workbook's library takes a NUL for the end of a text, so what
// XML cannot hold becomes U+FFFD, which keeps the text's length.
QString writable(QString text)
{
    for (qsizetype at = 0; at < text.size(); ++at)
        if (!xmlHolds(text, at))
            text[at] = QChar::ReplacementCharacter;
    return text;
}

std::optional<QString> string(const QJsonValue &json, qsizetype longest)
{
    if (!json.isString() || json.toString().size() > longest)
        return std::nullopt;
    return writable(json.toString());
}

// An array of at most `most` elements.
std::optional<QJsonArray> array(const QJsonValue &json, qsizetype most)
{
    if (!json.isArray() || json.toArray().size() > most)
        return std::nullopt;
    return json.toArray();
}

QJsonObject textObject(const ReportText &text)
{
    const QRectF &box = text.box;
    return {{"box", QJsonArray{box.left(), box.top(), box.width(), box.height()}},
            {"text", text.text},
            {"size", text.pointSize},
            {"frame", text.framed},
            {"halign", wordOf(HorizontalAlignments, text.alignment & Qt::AlignHorizontal_Mask)},
            {"valign", wordOf(VerticalAlignments, text.alignment & Qt::AlignVertical_Mask)}};
}

std::optional<ReportText> readText(const QJsonValue &json)
{
    const QJsonObject object = json.toObject();
    const std::optional<QJsonArray> box = array(object.value("box"), 4);
    if (!json.isObject() || !box || box->size() != 4)
        return std::nullopt;
    const auto left = number(box->at(0), -limits::Length, limits::Length);
    const auto top = number(box->at(1), -limits::Length, limits::Length);
    const auto width = number(box->at(2), 0, limits::Length);
    const auto height = number(box->at(3), 0, limits::Length);
    const auto text = string(object.value("text"), limits::TextLength);
    const auto size = number(object.value("size"), 0, limits::PointSize);
    const QJsonValue frame = object.value("frame");
    const auto horizontal = valueOf(HorizontalAlignments, object.value("halign"));
    const auto vertical = valueOf(VerticalAlignments, object.value("valign"));
    if (!left || !top || !width || !height || !text || !size || *size <= 0 || !frame.isBool() || !horizontal
        || !vertical)
        return std::nullopt;
    return ReportText{QRectF(*left, *top, *width, *height), *text, *size, frame.toBool(), *horizontal | *vertical};
}

std::optional<PreparedBand> readBand(const QJsonValue &json)
{
    const std::optional<BandKind> kind = valueOf(BandKinds, json.toObject().value("kind"));
    const std::optional<QJsonArray> texts = array(json.toObject().value("texts"), limits::TextsPerBand);
    if (!kind || !texts)
        return std::nullopt;
    PreparedBand band{*kind, {}};
    for (const QJsonValue &value : *texts) {
        std::optional<ReportText> text = readText(value);
        if (!text)
            return std::nullopt;
        band.texts.append(std::move(*text));
    }
    return band;
}

std::optional<PreparedPage> readPage(const QJsonValue &json)
{
    const std::optional<QJsonArray> bands = array(json.toObject().value("bands"), limits::BandsPerPage);
    if (!bands)
        return std::nullopt;
    PreparedPage page;
    for (const QJsonValue &value : *bands) {
        std::optional<PreparedBand> band = readBand(value);
        if (!band)
            return std::nullopt;
        page.bands.append(std::move(*band));
    }
    return page;
}

std::optional<PageSetup> readPageSetup(const QJsonObject &root)
{
    const QJsonObject paper = root.value("paper").toObject();
    const QJsonObject margins = root.value("margins").toObject();
    const auto width = number(paper.value("width"), 0, limits::Length);
    const auto height = number(paper.value("height"), 0, limits::Length);
    const auto left = number(margins.value("left"), 0, limits::Length);
    const auto top = number(margins.value("top"), 0, limits::Length);
    const auto right = number(margins.value("right"), 0, limits::Length);
    const auto bottom = number(margins.value("bottom"), 0, limits::Length);
    if (!width || !height || *width <= 0 || *height <= 0 || !left || !top || !right || !bottom)
        return std::nullopt;
    return PageSetup{QSizeF(*width, *height), QMarginsF(*left, *top, *right, *bottom)};
}

std::optional<PreparedReport> readReport(const QJsonObject &root)
{
    const std::optional<PageSetup> page = readPageSetup(root);
    const std::optional<QString> font = string(root.value("font"), limits::FontFamilyLength);
    const std::optional<QJsonArray> pages = array(root.value("pages"), limits::Pages);
    if (!page || !font || !pages || pages->isEmpty())
        return std::nullopt;
    PreparedReport report{*page, *font, {}};
    for (const QJsonValue &value : *pages) {
        std::optional<PreparedPage> prepared = readPage(value);
        if (!prepared)
            return std::nullopt;
        report.pages.append(std::move(*prepared));
    }
    return report;
}

} // namespace

QByteArray encodePreparedReport(const PreparedReport &report)
{
    QJsonArray pages;
    for (const PreparedPage &page : report.pages) {
        QJsonArray bands;
        for (const PreparedBand &band : page.bands) {
            QJsonArray texts;
            for (const ReportText &text : band.texts)
                texts.append(textObject(text));
            bands.append(QJsonObject{{"kind", wordOf(BandKinds, band.kind)}, {"texts", texts}});
        }
        pages.append(QJsonObject{{"bands", bands}});
    }
    const QMarginsF &margins = report.page.margins;
    const QJsonObject root{
        {"format", QLatin1String(PreparedReportFormatName)},
        {"version", PreparedReportVersion},
        {"paper", QJsonObject{{"width", report.page.paper.width()}, {"height", report.page.paper.height()}}},
        {"margins", QJsonObject{{"left", margins.left()},
                                {"top", margins.top()},
                                {"right", margins.right()},
                                {"bottom", margins.bottom()}}},
        {"font", report.fontFamily},
        {"pages", pages}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

PreparedReportFile decodePreparedReport(const QByteArray &bytes)
{
    if (bytes.size() > limits::FileBytes)
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject()
        || root.value("format") != QLatin1String(PreparedReportFormatName))
        return {};
    // A later version may have changed anything but the format's name and its
    // version, which is a whole number however large.
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()))
        return {};
    if (version.toDouble() > PreparedReportVersion)
        return {PreparedReportStatus::Newer, {}};
    std::optional<PreparedReport> report =
        version.toDouble() == PreparedReportVersion ? readReport(root) : std::nullopt;
    if (!report)
        return {};
    return {PreparedReportStatus::Read, std::move(*report)};
}

PreparedReportFile readPreparedReportFile(const QString &path)
{
    // A FIFO or a device is not opened at all: it would wait or never end.
    const BoundedRead file = readRegularFile(path, limits::FileBytes);
    switch (file.status) {
    case BoundedReadStatus::Read: break;
    case BoundedReadStatus::CannotOpen:
    case BoundedReadStatus::NotRegularFile: return {PreparedReportStatus::CannotOpen, {}};
    case BoundedReadStatus::TooLarge: return {};
    }
    return decodePreparedReport(file.bytes);
}

QString preparedReportFailure(PreparedReportStatus status, const QString &path, Language language)
{
    switch (status) {
    case PreparedReportStatus::Read: break;
    case PreparedReportStatus::CannotOpen: return CannotOpenFile.text(language) + path;
    case PreparedReportStatus::Damaged: return NotAReport.text(language) + QStringLiteral(": ") + fileNamePart(path);
    case PreparedReportStatus::Newer: return NewerReport.text(language) + QStringLiteral(": ") + fileNamePart(path);
    }
    return {};
}

} // namespace kvt
