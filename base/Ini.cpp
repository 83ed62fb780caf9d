#include "base/Ini.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr qsizetype kMaxValueLength = 254;

QStringList ReadLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace("\r\n", "\n");
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The section name of a "[name]" line, or a null string for any other line.
QString SectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith('[') && t.endsWith(']')) return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool IsKeyLine(const QString& line, const QString& key) {
    const qsizetype eq = line.indexOf('=');
    return eq >= 0 && line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0;
}

QString Unquote(QString value) {
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QString Entry(const QString& key, const QString& value) { return key + "='" + value + "'"; }

// Replaces the file only once all of it is written.
bool WriteLines(const QString& file, const QStringList& lines) {
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write((lines.join("\r\n") + "\r\n").toUtf8());
    return f.commit();
}

}  // namespace

QString ReadIni(const QString& section, const QString& key, const QString& file) {
    return ReadIniSection(section, file).value(key.trimmed().toUpper());
}

QHash<QString, QString> ReadIniSection(const QString& section, const QString& file,
                                       IniValues length) {
    // left() gives a whole value for a negative length.
    const qsizetype maxLength = length == IniValues::Cut ? kMaxValueLength : -1;
    QHash<QString, QString> values;
    bool inSection = false;
    for (const QString& line : ReadLines(file)) {
        const QString name = SectionOf(line);
        const qsizetype eq = line.indexOf('=');
        if (!name.isNull()) {
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
        } else if (inSection && eq >= 0) {
            const QString key = line.left(eq).trimmed().toUpper();
            if (!values.contains(key))
                values.insert(key, Unquote(line.mid(eq + 1).trimmed()).left(maxLength));
        }
    }
    return values;
}

bool WriteIni(const QString& section, const QString& key, const QString& value,
              const QString& file) {
    QStringList lines = ReadLines(file);
    const QString entry = Entry(key, value);
    qsizetype sectionEnd = -1;  // line after the last line of the section
    bool inSection = false;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        const QString name = SectionOf(lines[i]);
        if (!name.isNull()) {
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            if (inSection) sectionEnd = i + 1;
        } else if (inSection) {
            if (IsKeyLine(lines[i], key)) {
                lines[i] = entry;
                written = true;
            } else if (!lines[i].trimmed().isEmpty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!written) {
        if (sectionEnd < 0) {
            lines << "[" + section + "]";
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, entry);
    }
    return WriteLines(file, lines);
}

bool WriteIniFile(const QString& file, const QString& section,
                  const QList<QPair<QString, QString>>& entries) {
    QStringList lines{"[" + section + "]"};
    for (const auto& [key, value] : entries) lines << Entry(key, value);
    return WriteLines(file, lines);
}
