// Fuzzes the settings file's text form (ProfileText).
//
// Input: a first line "section|key|value" (split at the first two '|'), then the
// settings file itself. A section or key written "@N" takes the N-th section name
// or key found in the file instead, and a section "@" the section of the key so
// picked, so that existing entries get changed, not only new ones added.
// Checked, with a trap on failure:
//  - parsing and writing back an unchanged file gives the same bytes;
//  - after setValue, the written bytes parse back to the value just set, its
//    line breaks and NULs turned into blanks;
//  - every other key found in the file keeps its value.
// Names the form cannot hold (line breaks, a ']' in a section name, an '=' in
// a key or one opening with a byte order mark, blanks at either end) and
// characters Windows-1251 lacks in a Windows-1251 file are skipped.

#include "support/profile_text.h"
#include "support/windows1251.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const QByteArray utf8Bom("\xEF\xBB\xBF");

QByteArray withoutBom(const QByteArray &bytes)
{
    return bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
}

bool isUtf8File(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() converts only when its result becomes a QString.
    const QString decoded = decoder.decode(withoutBom(bytes));
    return !decoder.hasError();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Names {
    QStringList sections;
    std::vector<std::pair<QString, QString>> entries; // section, key
};

// A rough reading of the file's names, only to pick likely targets; the checks
// below go through ProfileText alone.
Names namesIn(const QByteArray &file, bool utf8)
{
    Names names;
    QString section;
    bool inSection = false;
    for (const QByteArray &raw : withoutBom(file).split('\n')) {
        const QString line = (utf8 ? QString::fromUtf8(raw) : kvt::fromWindows1251(raw)).trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close > 0) {
                section = line.mid(1, close - 1).trimmed();
                inSection = true;
                names.sections << section;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && !line.startsWith(u';') && equals > 0 && names.entries.size() < 32)
            names.entries.emplace_back(section, line.left(equals).trimmed());
    }
    return names;
}

std::optional<qsizetype> pickIndex(const QString &field)
{
    if (!field.startsWith(u'@'))
        return std::nullopt;
    bool ok = false;
    const uint n = field.mid(1).toUInt(&ok);
    return ok ? std::optional<qsizetype>(qsizetype(n)) : std::nullopt;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

bool fitsEncoding(const QString &text, bool utf8)
{
    return utf8 || kvt::fromWindows1251(kvt::toWindows1251(text)) == text;
}

bool canHoldSection(const QString &section)
{
    return !hasLineBreak(section) && !section.contains(u']') && section == section.trimmed();
}

bool canHoldKey(const QString &key)
{
    // A byte order mark opening a line is dropped when the line is decoded, so a
    // key cannot start with U+FEFF either.
    return !key.isEmpty() && !hasLineBreak(key) && !key.contains(u'=') && key == key.trimmed()
        && !key.startsWith(u'[') && !key.startsWith(u';') && !key.startsWith(QChar(0xFEFF));
}

// What a value reads back as: setValue keeps it on its line.
QString onOneLine(QString value)
{
    for (QChar &character : value) {
        if (character == u'\n' || character == u'\r' || character == u'\0')
            character = u' ';
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    // The whole input is a settings file too; unchanged, it is written back as read.
    check(kvt::ProfileText::parse(input).bytes() == input);

    const qsizetype newline = input.indexOf('\n');
    const QByteArray command = newline < 0 ? input : input.left(newline);
    const QByteArray file = newline < 0 ? QByteArray() : input.mid(newline + 1);

    kvt::ProfileText profile = kvt::ProfileText::parse(file);
    check(profile.bytes() == file);

    const bool utf8 = isUtf8File(file);
    const Names names = namesIn(file, utf8);

    const QList<QByteArray> fields = command.split('|');
    QString section = QString::fromUtf8(fields.value(0));
    QString key = QString::fromUtf8(fields.value(1));
    const qsizetype valueStart = qMin(command.size(), fields.value(0).size() + fields.value(1).size() + 2);
    const QString value = QString::fromUtf8(command.mid(valueStart));
    if (const auto n = pickIndex(section); n && !names.sections.isEmpty())
        section = names.sections[*n % names.sections.size()];
    if (const auto n = pickIndex(key); n && !names.entries.empty()) {
        const auto &entry = names.entries[size_t(*n) % names.entries.size()];
        key = entry.second;
        if (section == u"@")
            section = entry.first;
    }

    // The lookup itself must cope with anything.
    (void)profile.value(section, key);

    if (!canHoldSection(section) || !canHoldKey(key))
        return 0;
    if (!fitsEncoding(section, utf8) || !fitsEncoding(key, utf8) || !fitsEncoding(value, utf8))
        return 0;

    std::vector<std::optional<QString>> before;
    for (const auto &[s, k] : names.entries)
        before.push_back(profile.value(s, k));

    profile.setValue(section, key, value);
    const QByteArray written = profile.bytes();
    const kvt::ProfileText reread = kvt::ProfileText::parse(written);
    check(reread.bytes() == written);
    check(reread.value(section, key) == onOneLine(value));

    for (size_t i = 0; i < names.entries.size(); ++i) {
        const auto &[s, k] = names.entries[i];
        if (sameName(s, section) && sameName(k, key))
            continue;
        check(reread.value(s, k) == before[i]);
    }
    return 0;
}
