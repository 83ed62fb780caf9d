#include "TestWorkbook.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {
bool IsXlsx(const QString& path) { return path.endsWith(".xlsx", Qt::CaseInsensitive); }

// A date is written in the form each writer script takes: an ISO date for
// xlwt, a day number in a date format for XlsxWriter.
QJsonValue Cell(const QVariant& v, bool xlsx) {
    if (v.isNull()) return QJsonValue::Null;
    if (v.typeId() == QMetaType::QDate) {
        if (!xlsx) return QJsonObject{{"date", v.toDate().toString(Qt::ISODate)}};
        return QJsonObject{{"number", double(QDate(1899, 12, 30).daysTo(v.toDate()))},
                           {"format", "yyyy-mm-dd"}};
    }
    if (v.metaType() == QMetaType::fromType<FormattedNumber>()) {
        const auto [number, format] = v.value<FormattedNumber>();
        return QJsonObject{{"number", number}, {"format", format}};
    }
    if (IsCellError(v)) return QJsonObject{{"error", v.value<CellError>().text}};
    if (v.typeId() == QMetaType::QString) return v.toString();
    return v.toDouble();
}
}  // namespace

void WriteWorkbook(const QString& path, const QList<TestSheet>& sheets) {
    const bool xlsx = IsXlsx(path);
    QJsonArray sheetArray;
    for (const TestSheet& sheet : sheets) {
        QJsonArray rows;
        for (const QVariantList& row : sheet.rows) {
            QJsonArray cells;
            for (const QVariant& v : row) cells.append(Cell(v, xlsx));
            rows.append(cells);
        }
        sheetArray.append(QJsonArray{sheet.name, rows});
    }
    QProcess python;
    python.start("/usr/bin/python3", {QString(XLSLOAD_SOURCE_DIR) + "/tests/support/" +
                                      (xlsx ? "write_xlsx.py" : "write_xls.py")});
    python.write(QJsonDocument(QJsonObject{{"path", path}, {"sheets", sheetArray}}).toJson());
    python.closeWriteChannel();
    python.waitForFinished(60000);
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}
