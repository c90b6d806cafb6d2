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

QString unquoted(QString value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

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

    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype newline = body.indexOf('\n', start);
        Line line;
        if (newline < 0) {
            line.content = body.mid(start);
            start = body.size();
        } else {
            line.content = body.mid(start, newline - start);
            line.end = "\n";
            start = newline + 1;
        }
        if (line.content.endsWith('\r')) {
            line.content.chop(1);
            line.end.prepend('\r');
        }
        profile.m_lines.push_back(std::move(line));
    }
    return profile;
}

QString ProfileText::decode(const QByteArray &bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : fromWindows1251(bytes);
}

QByteArray ProfileText::encode(const QString &text) const
{
    return m_utf8 ? text.toUtf8() : toWindows1251(text);
}

ProfileText::ParsedLine ProfileText::parseLine(const Line &line) const
{
    const QString text = decode(line.content).trimmed();
    ParsedLine parsed;
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

std::optional<QString> ProfileText::value(QStringView section, QStringView key) const
{
    bool inSection = false;
    for (const Line &line : m_lines) {
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, section);
        else if (inSection && parsed.kind == Kind::Entry && sameName(parsed.name, key))
            return parsed.value;
    }
    return std::nullopt;
}

QByteArray ProfileText::newLineEnd() const
{
    for (const Line &line : m_lines) {
        if (line.end == "\r\n")
            return line.end;
    }
    return "\n";
}

void ProfileText::setValue(QStringView section, QStringView key, const QString &value)
{
    const Line entry{encode(key.toString() + u'=' + value), newLineEnd()};

    // An existing key keeps its place.
    bool inSection = false;
    for (Line &line : m_lines) {
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, section);
        else if (inSection && parsed.kind == Kind::Entry && sameName(parsed.name, key)) {
            line.content = entry.content;
            switchToUtf8WhenAmbiguous();
            return;
        }
    }

    // A new key goes after the last entry of the first section of that name.
    std::optional<size_t> insertAt;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine parsed = parseLine(m_lines[i]);
        if (parsed.kind == Kind::Section) {
            if (insertAt)
                break;
            if (sameName(parsed.name, section))
                insertAt = i + 1;
        } else if (insertAt && parsed.kind == Kind::Entry) {
            insertAt = i + 1;
        }
    }

    // A last line without a line end, or ending in a lone CR, gets a full one:
    // lines split at LF only, so the new line would otherwise run into it.
    if (!m_lines.empty() && !m_lines.back().end.endsWith('\n'))
        m_lines.back().end = entry.end;
    if (insertAt) {
        m_lines.insert(m_lines.begin() + qsizetype(*insertAt), entry);
        switchToUtf8WhenAmbiguous();
        return;
    }
    m_lines.push_back({encode(u'[' + section.toString() + u']'), entry.end});
    m_lines.push_back(entry);
    switchToUtf8WhenAmbiguous();
}

void ProfileText::removeSection(QStringView section)
{
    bool inSection = false;
    std::erase_if(m_lines, [&](const Line &line) {
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, section);
        return inSection;
    });
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
        body += line.content + line.end;
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
        result += line.content + line.end;
    return result;
}

} // namespace kvt
