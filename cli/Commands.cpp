#include "cli/Commands.h"

// One line a sub-command: {name, usage after "xlsload ", run}.
const QList<Command>& Commands() {
    static const QList<Command> commands = {
        {"sheets", "sheets WORKBOOK          sheet names, one a line, workbook order", RunSheets},
        {"columns", "columns WORKBOOK SHEET   one line a sheet column: name TAB type code",
         RunColumns},
        {"dump", "dump WORKBOOK SHEET      the sheet as the program reads it, tab-separated",
         RunDump},
        {"companies", "companies [--home DIR]   the company directory: Code TAB Name, file order",
         RunCompanies},
        {"init-db", "init-db TARGET           create the demo till tables in TARGET", RunInitDb},
        {"verify", "verify [OPTIONS]         run Verify; print the totals and the bad rows",
         RunVerify},
        {"import", "import [OPTIONS]         run Verify, then Start", RunImport},
    };
    return commands;
}
