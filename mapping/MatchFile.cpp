#include "mapping/MatchFile.h"

#include <QFile>
#include <algorithm>

#include "base/Ini.h"

namespace {
const QString kSection = "MatchField";
QString FieldKey(int i) { return "Field_" + QString::number(i + 1); }
QString NameKey(int i) { return "Name_" + QString::number(i + 1); }
}  // namespace

QString MatchNameProblem(const QString& name) {
    if (name.contains('/') || name.contains('\\') || name.contains(".."))
        return "Invalid Match File Name: \"" + name +
               "\" must be a plain name without folders; match files are kept in the EXCEL folder.";
    return {};
}

QString MatchFilePath(const QString& home, const QString& name) {
    return home + "/EXCEL/" + name + ".ini";
}

bool SaveMatchFile(const QString& path, const MatchFile& match) {
    QList<QPair<QString, QString>> entries{{"TableName", match.tableName}};
    for (int i = 0; i < match.fields.size(); ++i) entries.append({FieldKey(i), match.fields[i]});
    // One line a key: a name's line breaks become spaces, which matching ignores.
    for (int i = 0; i < match.names.size(); ++i)
        entries.append({NameKey(i), QString(match.names[i]).replace('\r', ' ').replace('\n', ' ')});
    // Written whole in place of the old file, which a failure leaves as it was.
    return WriteIniFile(path, kSection, entries);
}

MatchFile ReadMatchFile(const QString& path, int rows) {
    // The file is read once, not once a key, and its values whole: a sheet's
    // column name may be longer than the settings file's values.
    const QHash<QString, QString> keys = ReadIniSection(kSection, path, IniValues::Whole);
    const auto value = [&keys](const QString& key) { return keys.value(key.toUpper()); };
    MatchFile match{value("TableName"), {}, {}};
    while (true) {
        const QString name = value(NameKey(match.names.size()));
        if (name.isEmpty()) break;
        match.names << name;
    }
    const int fields = std::max(rows, static_cast<int>(match.names.size()));
    for (int i = 0; i < fields; ++i) match.fields << value(FieldKey(i));
    return match;
}
