#include "workbook/SheetDump.h"

#include <QStringList>

#include "base/Connection.h"
#include "base/LineField.h"
#include "base/SqlText.h"
#include "base/ValueText.h"

namespace {
std::unique_ptr<Recordset> OpenSheet(Connection& workbook, const QString& sheet) {
    return workbook.Open("Select * From " + BracketName(sheet + "$"));
}
}  // namespace

void WriteSheetDump(Connection& workbook, const QString& sheet, QTextStream& out) {
    const auto records = OpenSheet(workbook, sheet);
    QStringList line;
    for (const Field& f : records->Fields()) line.append(LineField(f.name));
    out << line.join('\t') << '\n';
    for (; !records->Eof(); records->MoveNext()) {
        line.clear();
        for (int i = 0; i < records->FieldCount(); ++i)
            line.append(LineField(ValueText(records->Value(i))));
        out << line.join('\t') << '\n';
    }
}

void WriteSheetColumns(Connection& workbook, const QString& sheet, QTextStream& out) {
    const auto records = OpenSheet(workbook, sheet);
    for (const Field& f : records->Fields()) out << LineField(f.name) << '\t' << f.type << '\n';
}
