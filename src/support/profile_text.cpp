#include "profile_text.h"

#include "windows1251.h"

#include <QStringDecoder>

namespace kvt {
namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString entryName(QStringView section, QStringView key)
{
    return section.toString().toCaseFolded() + u'\n' + key.toString().toCaseFolded();
}

bool isQuoted(const QString &value)
{
    return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
}

QString unquoted(const QString &value)
{
    return isQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

// What goes after the '=': see setValue.
QString storedValue(QString value)
{
    for (QChar &character : value) {
        if (character == u'\n' || character == u'\r' || character == u'\0')
            character = u' ';
    }
    if (value != value.trimmed() || isQuoted(value))
        return u'"' + value + u'"';
    return value;
}

} // namespace

QByteArray ProfileText::lineEndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QByteArrayLiteral("\n");
    case LineEnd::CrLf:
        return QByteArrayLiteral("\r\n");
    case LineEnd::Cr:
        return QByteArrayLiteral("\r");
    case LineEnd::None:
        break;
    }
    return {};
}

ProfileText ProfileText::parse(const QByteArray &bytes, Encoding encoding)
{
    ProfileText profile;
    QByteArray body = bytes;
    if (body.startsWith(utf8Bom)) {
        profile.m_bom = utf8Bom;
        body.remove(0, utf8Bom.size());
    }
    profile.m_fixedEncoding = encoding == Encoding::Windows1251;
    profile.m_utf8 = !profile.m_fixedEncoding && isValidUtf8(body);

    // A line ends at LF, CR LF or a lone CR, the last one also at the end of the text.
    const char *data = body.constData();
    const qsizetype size = body.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype stop = start;
        while (stop < size && data[stop] != '\n' && data[stop] != '\r')
            ++stop;
        Line line;
        line.content = body.mid(start, stop - start);
        if (stop == size) {
            start = size;
        } else if (data[stop] == '\n') {
            line.end = LineEnd::Lf;
            start = stop + 1;
        } else if (stop + 1 < size && data[stop + 1] == '\n') {
            line.end = LineEnd::CrLf;
            start = stop + 2;
        } else {
            line.end = LineEnd::Cr;
            start = stop + 1;
        }
        profile.m_lines.push_back(std::move(line));
    }
    profile.reindex();
    return profile;
}

bool ProfileText::isUtf16(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString ProfileText::decode(const QByteArray &bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : fromWindows1251(bytes);
}

QByteArray ProfileText::encode(const QString &text) const
{
    return m_utf8 ? text.toUtf8() : toWindows1251(text);
}

ProfileText::ParsedLine ProfileText::parseLine(const QByteArray &content) const
{
    ParsedLine parsed;
    if (content.size() > MaxLineBytes)
        return parsed;
    const QString text = decode(content).trimmed();
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            parsed.kind = Kind::Section;
            parsed.name = text.mid(1, close - 1).trimmed();
        }
        return parsed;
    }
    if (text.startsWith(u';'))
        return parsed;
    const qsizetype equals = text.indexOf(u'=');
    if (equals > 0) {
        parsed.kind = Kind::Entry;
        parsed.name = text.left(equals).trimmed();
        parsed.value = unquoted(text.mid(equals + 1).trimmed());
    }
    return parsed;
}

void ProfileText::reindex()
{
    m_firstEntry.clear();
    std::optional<QString> section;
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        Line &line = m_lines[size_t(i)];
        ParsedLine parsed = parseLine(line.content);
        line.kind = parsed.kind;
        if (parsed.kind == Kind::Section)
            section = std::move(parsed.name);
        else if (parsed.kind == Kind::Entry && section) {
            const QString name = entryName(*section, parsed.name);
            if (!m_firstEntry.contains(name))
                m_firstEntry.insert(name, i);
        }
    }
}

std::optional<QString> ProfileText::value(QStringView section, QStringView key) const
{
    const auto found = m_firstEntry.constFind(entryName(section, key));
    if (found == m_firstEntry.cend())
        return std::nullopt;
    return parseLine(m_lines[size_t(*found)].content).value;
}

ProfileText::LineEnd ProfileText::newLineEnd() const
{
    bool lf = false;
    bool cr = false;
    for (const Line &line : m_lines) {
        if (line.end == LineEnd::CrLf)
            return line.end;
        lf = lf || line.end == LineEnd::Lf;
        cr = cr || line.end == LineEnd::Cr;
    }
    return !lf && cr ? LineEnd::Cr : LineEnd::Lf;
}

ProfileText::Line ProfileText::entryLine(QStringView key, const QString &value, LineEnd end) const
{
    return {encode(key.toString() + u'=' + storedValue(value)), end, Kind::Entry};
}

void ProfileText::endLastLine(LineEnd end)
{
    // A last line without a line end gets one, so that a new line does not run
    // into it; so does one ending in a lone CR in a text of other line ends.
    if (!m_lines.empty() && (m_lines.back().end == LineEnd::None || m_lines.back().end == LineEnd::Cr))
        m_lines.back().end = end;
}

void ProfileText::setValue(QStringView section, QStringView key, const QString &value)
{
    const Line entry = entryLine(key, value, newLineEnd());

    // An existing key keeps its place.
    const auto found = m_firstEntry.constFind(entryName(section, key));
    if (found != m_firstEntry.cend()) {
        m_lines[size_t(*found)].content = entry.content;
        switchToUtf8WhenAmbiguous();
        return;
    }

    // A new key goes after the last entry of the first section of that name.
    std::optional<size_t> insertAt;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section) {
            if (insertAt)
                break;
            if (sameName(parseLine(line.content).name, section))
                insertAt = i + 1;
        } else if (insertAt && line.kind == Kind::Entry) {
            insertAt = i + 1;
        }
    }

    endLastLine(entry.end);
    if (insertAt) {
        m_lines.insert(m_lines.begin() + qsizetype(*insertAt), entry);
    } else {
        m_lines.push_back({encode(u'[' + section.toString() + u']'), entry.end, Kind::Section});
        m_lines.push_back(entry);
    }
    reindex();
    switchToUtf8WhenAmbiguous();
}

void ProfileText::removeSection(QStringView section)
{
    bool inSection = false;
    std::erase_if(m_lines, [&](const Line &line) {
        if (line.kind == Kind::Section)
            inSection = sameName(parseLine(line.content).name, section);
        return inSection;
    });
    reindex();
}

void ProfileText::replaceSection(QStringView section, const QList<std::pair<QString, QString>> &entries)
{
    removeSection(section);
    if (entries.isEmpty())
        return;
    const LineEnd end = newLineEnd();
    endLastLine(end);
    m_lines.push_back({encode(u'[' + section.toString() + u']'), end, Kind::Section});
    for (const auto &[key, value] : entries)
        m_lines.push_back(entryLine(key, value, end));
    reindex();
    switchToUtf8WhenAmbiguous();
}

void ProfileText::switchToUtf8WhenAmbiguous()
{
    // A Windows-1251 text is told from UTF-8 only by not being valid UTF-8. When
    // a change leaves nothing but bytes that happen to be valid UTF-8 ("\xC2\xB3"
    // is "Ві"), the next read would take them as UTF-8; the text becomes UTF-8
    // instead, which reads back the same.
    if (m_utf8 || m_fixedEncoding)
        return;
    QByteArray body;
    for (const Line &line : m_lines)
        body += line.content + lineEndBytes(line.end);
    if (!isValidUtf8(body))
        return;
    for (Line &line : m_lines)
        line.content = fromWindows1251(line.content).toUtf8();
    m_utf8 = true;
}

QByteArray ProfileText::bytes() const
{
    QByteArray result = m_bom;
    for (const Line &line : m_lines)
        result += line.content + lineEndBytes(line.end);
    return result;
}

} // namespace kvt
