#pragma once

#include <QHash>
#include <QString>

// One value of an INI file, read by the private-profile rules: section and
// key match without regard to case, blanks around the value are dropped, one
// pair of enclosing single or double quotes is removed, at most 254
// characters come back, and anything missing reads as empty text.
QString ReadIni(const QString& section, const QString& key, const QString& file);

// How long a value may come back: cut to 254 characters, as the settings
// file is read, or whole, as the program reads back a file it wrote itself.
enum class IniValues { Cut, Whole };

// Every key of a section with its value, read by the same rules, keys in
// upper case; the first of a key given twice counts, as ReadIni reads it.
QHash<QString, QString> ReadIniSection(const QString& section, const QString& file,
                                       IniValues length = IniValues::Cut);

// Writes "'" + value + "'" as the value of key in section, replacing the key
// where it stands, appending it to the section, or creating the section and
// the file; every other line is kept. Answers whether the file was written.
bool WriteIni(const QString& section, const QString& key, const QString& value,
              const QString& file);

// Writes a whole file of one section, each key's value written as WriteIni
// writes it. The file is replaced only once all of it is written: a failure
// (a full disk) leaves the file as it was. Answers whether it was written.
bool WriteIniFile(const QString& file, const QString& section,
                  const QList<QPair<QString, QString>>& entries);
