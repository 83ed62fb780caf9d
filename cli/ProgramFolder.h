#pragma once

#include <QString>

// Where the program folder (EXCEL, LOG/XLSLOADLOG, GSETUP.ini, CompFile.mdb)
// is. The executable's folder keeps it beside a copied program, one whose
// folder already holds GSETUP.ini or EXCEL; an installed program's folder
// is no program folder, even for root, who can write anywhere: the user's
// data folder takes its place.
struct ProgramFolderRule {
    QString given;                            // --home, empty when not given
    QString environment;                      // XLSLOAD_HOME, empty when not set
    QString executableFolder;                 // the folder of the running program
    bool executableFolderIsPortable = false;  // it holds GSETUP.ini or EXCEL
    QString userDataFolder;                   // the user's data folder for the program
};

// The folder the rule picks: --home, then XLSLOAD_HOME, then the
// executable's folder of a portable copy, else the user's data folder.
// A relative --home or XLSLOAD_HOME is taken from the current folder.
QString ChooseProgramFolder(const ProgramFolderRule& rule);

// The program folder of this process for the --home value given (empty when
// none). When it falls back to the user's data folder it creates that folder
// with EXCEL, LOG/XLSLOADLOG and an example GSETUP.ini, each only if
// missing. A QCoreApplication must exist.
QString ProgramFolder(const QString& given);
