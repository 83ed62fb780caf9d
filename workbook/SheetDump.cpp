#include "workbook/SheetDump.h"

#include <QStringList>

#include "base/Connection.h"
#include "base/ValueText.h"

namespace {
std::unique_ptr<Recordset> OpenSheet(Connection& workbook, const QString& sheet) {
    return workbook.Open("Select * From [" + sheet + "$]");
}
}  // namespace

QString DumpField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void WriteSheetDump(Connection& workbook, const QString& sheet, QTextStream& out) {
    const auto records = OpenSheet(workbook, sheet);
    QStringList line;
    for (const Field& f : records->Fields()) line.append(DumpField(f.name));
    out << line.join('\t') << '\n';
    for (; !records->Eof(); records->MoveNext()) {
        line.clear();
        for (int i = 0; i < records->FieldCount(); ++i)
            line.append(DumpField(ValueText(records->Value(i))));
        out << line.join('\t') << '\n';
    }
}

void WriteSheetColumns(Connection& workbook, const QString& sheet, QTextStream& out) {
    const auto records = OpenSheet(workbook, sheet);
    for (const Field& f : records->Fields()) out << DumpField(f.name) << '\t' << f.type << '\n';
}
