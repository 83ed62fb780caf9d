#pragma once

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>

// The zip package of an .xlsx or .xlsm workbook, read with libgsf. Part names
// are matched as the package format wants them, ignoring letter case, and
// zip entries written with backslashes are found under their forward-slash
// names.
class XlsxPackage {
public:
    // Refuses with an AppError naming the file what is no zip package: a
    // missing or empty file, an encrypted workbook (an OLE compound file), an
    // .xls, a damaged or truncated zip.
    static std::unique_ptr<XlsxPackage> Open(const QString& path);
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;

    bool Has(const QString& part) const;
    // The part's bytes as a sequential device read from the zip as it goes
    // (in UTF-8 where the part is written in UTF-16), or null when there is
    // no such part. Failed() tells whether reading it
    // stopped on damage rather than at its end.
    std::unique_ptr<QIODevice> OpenPart(const QString& part) const;
    static bool Failed(const QIODevice& part);

private:
    XlsxPackage() = default;
    void AddEntries(void* folder, const QStringList& path);

    void* zip_ = nullptr;                  // the GsfInfile of the zip
    QHash<QString, QStringList> entries_;  // entry path by part name key
};

// The key a part name is looked up by: no leading slash, forward slashes,
// letters folded.
QString PartKey(const QString& part);

// The part a relationship target names, relative to the part holding the
// relationship (absolute when it starts with a slash); ".." steps up.
QString ResolvePart(const QString& sourcePart, const QString& target);

// Where the relationships of a part are kept: "xl/workbook.xml" ->
// "xl/_rels/workbook.xml.rels".
QString RelationshipsPart(const QString& part);
