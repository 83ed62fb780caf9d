// Reads a workbook as the program does and prints what it got: one line
// "sheet<TAB>name<TAB>records" a worksheet, or "refused<TAB>number<TAB>message"
// with exit status 3. The corpus test runs it in a child process under time
// and memory limits, so that a crash or a hang fails that test only.
#include <QTextStream>

#include "base/AppError.h"
#include "workbook/SheetConnection.h"
#include "workbook/SheetDump.h"

int main(int argc, char** argv) {
    QTextStream out(stdout);
    if (argc != 2) {
        out << "usage: workbook_probe WORKBOOK\n";
        return 2;
    }
    try {
        const auto book = SheetConnection::OpenWorkbook(QString::fromLocal8Bit(argv[1]));
        for (const QString& sheet : book->SheetNames()) {
            const auto records = book->Open("Select * From [" + sheet + "$]");
            out << "sheet\t" << DumpField(sheet) << '\t' << records->RecordCount() << '\n';
        }
        return 0;
    } catch (const AppError& e) {
        out << "refused\t" << e.Number() << '\t' << DumpField(e.Description()) << '\n';
        return 3;
    }
}
