#pragma once

#include <QStringList>

// One sub-command of the command line: its name, a line of help, and the
// function that runs it with the arguments after the name. Answers the
// process exit status: 0 done, 1 done with rejected rows, 2 refused or failed.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

// Every sub-command, in the order --help lists them.
const QList<Command>& Commands();

// xlsload companies [--home DIR]
int RunCompanies(const QStringList& args);
// xlsload sheets WORKBOOK
int RunSheets(const QStringList& args);
// xlsload columns WORKBOOK SHEET
int RunColumns(const QStringList& args);
// xlsload dump WORKBOOK SHEET
int RunDump(const QStringList& args);
// xlsload init-db TARGET
int RunInitDb(const QStringList& args);

// xlsload verify [OPTIONS] and xlsload import [OPTIONS]
int RunVerify(const QStringList& args);
int RunImport(const QStringList& args);
