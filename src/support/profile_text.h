#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace kvt {

// The private-profile text form: "[Section]" lines open sections, "Key=Value"
// lines give values. Lookups ignore case, blanks around names and values, a
// pair of single or double quotes around a value, a UTF-8 byte order mark,
// LF, CR LF and CR line ends, duplicates (the first one wins) and lines that
// are neither. Changing one key leaves every other line byte for byte as it was.
// A file that is not valid UTF-8 is taken to be Windows-1251, as older files are;
// should a change leave a Windows-1251 file holding only bytes that are also
// valid UTF-8, the whole file is written in UTF-8 so that it reads back the same.
//
// The text is parsed once: every lookup after that is a hash lookup, so a file
// of thousands of keys is read in time proportional to its size.
class ProfileText {
public:
    // Name list files are Windows-1251 whatever their bytes look like.
    enum class Encoding { Detect, Windows1251 };

    // No value the program keeps comes near this; a longer line is neither a
    // section nor an entry, and is kept as it was when the text is written.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    static ProfileText parse(const QByteArray &bytes, Encoding encoding = Encoding::Detect);

    // A UTF-16 text (told by its byte order mark) has a 0 byte in every other
    // place: read as bytes it holds no section and no key, so its readers
    // refuse it rather than take it for an empty file.
    static bool isUtf16(const QByteArray &bytes);

    std::optional<QString> value(QStringView section, QStringView key) const;
    // A line break or NUL in the value becomes a blank, so that a value can
    // never end its line and start a key of its own; a value that reading
    // would change (blanks at its ends, quotes around it) is written in double
    // quotes, which reading takes off again.
    void setValue(QStringView section, QStringView key, const QString &value);
    // Every section of that name goes, with all its lines up to the next section.
    void removeSection(QStringView section);
    // The section's old lines go; the section with these entries (distinct
    // keys, in this order) is added at the end.
    void replaceSection(QStringView section, const QList<std::pair<QString, QString>> &entries);
    QByteArray bytes() const;

private:
    enum class LineEnd : quint8 { None, Lf, CrLf, Cr };
    enum class Kind : quint8 { Other, Section, Entry };
    struct Line {
        QByteArray content; // without its line end
        LineEnd end = LineEnd::None;
        Kind kind = Kind::Other;
    };
    struct ParsedLine {
        Kind kind = Kind::Other;
        QString name;  // section name or key
        QString value; // entry value
    };

    static QByteArray lineEndBytes(LineEnd end);
    ParsedLine parseLine(const QByteArray &content) const;
    void reindex();
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    LineEnd newLineEnd() const;
    Line entryLine(QStringView key, const QString &value, LineEnd end) const;
    void endLastLine(LineEnd end);
    void switchToUtf8WhenAmbiguous();

    QByteArray m_bom;
    bool m_utf8 = true;
    bool m_fixedEncoding = false;
    std::vector<Line> m_lines;
    // Section and key, case-folded and joined by a line feed (which no name
    // can hold), to the line of the first entry of that name.
    QHash<QString, qsizetype> m_firstEntry;
};

} // namespace kvt
