#include "TestWorkbook.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {
QJsonValue Cell(const QVariant& v) {
    if (v.isNull()) return QJsonValue::Null;
    if (v.typeId() == QMetaType::QDate)
        return QJsonObject{{"date", v.toDate().toString(Qt::ISODate)}};
    if (v.typeId() == QMetaType::QString) return v.toString();
    return v.toDouble();
}
}  // namespace

void WriteWorkbook(const QString& path, const QList<TestSheet>& sheets) {
    QJsonArray sheetArray;
    for (const TestSheet& sheet : sheets) {
        QJsonArray rows;
        for (const QVariantList& row : sheet.rows) {
            QJsonArray cells;
            for (const QVariant& v : row) cells.append(Cell(v));
            rows.append(cells);
        }
        sheetArray.append(QJsonArray{sheet.name, rows});
    }
    QProcess python;
    python.start("/usr/bin/python3", {QString(XLSLOAD_SOURCE_DIR) + "/tests/support/write_xls.py"});
    python.write(QJsonDocument(QJsonObject{{"path", path}, {"sheets", sheetArray}}).toJson());
    python.closeWriteChannel();
    python.waitForFinished(60000);
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}
