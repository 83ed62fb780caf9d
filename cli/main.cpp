// xlsload: the main window, or one sub-command run without a window.
#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include "base/Version.h"
#include "cli/Commands.h"
#include "cli/ProgramFolder.h"
#include "gui/RunWindow.h"

namespace {

// Usage lines put the help text in the column the command table uses.
QString UsageLine(const QString& arguments, const QString& help) {
    return "  xlsload " + QString("%1").arg(arguments, -24) + " " + help + "\n";
}

QString OptionLine(const QString& option, const QString& help) {
    return "  " + QString("%1").arg(option, -32) + " " + help + "\n";
}

// The whole help; the manual page is made from it, so a heading ends with a
// colon, an indented line keeps its layout and any other line is prose.
void PrintUsage(QTextStream& out) {
    out << "Usage:\n" << UsageLine("[--home DIR]", "open the main window");
    for (const Command& command : Commands()) out << "  xlsload " << command.usage << "\n";
    out << UsageLine("--help", "this text")
        << UsageLine("--version", "the program's version and the program folder in use")
        << "\nOptions of verify and import:\n"
        << OptionLine("--home DIR", "the program folder")
        << OptionLine("--target TARGET", "sqlite:PATH or odbc:CONNECTION-STRING")
        << OptionLine("--server S --database D", "SQL Server, the connection string built")
        << OptionLine("--user U --password P", "as the Connect button builds it")
        << OptionLine("--password-file FILE", "the password: the first line of FILE")
        << OptionLine("--company CODE", "the connection values from the company directory")
        << OptionLine("--workbook PATH --sheet NAME", "the source")
        << OptionLine("--table NAME", "a catalogue table name (MT_ITEM) or its label")
        << OptionLine("--match NAME", "apply the match file EXCEL/NAME.ini")
        << OptionLine("--map \"EXCEL FIELD=TILL FIELD\"",
                      "map one sheet column by name; repeatable")
        << OptionLine("--save-match NAME", "save the mapping as a match file")
        << OptionLine("--strict-match", "refuse a match file whose column names differ")
        << OptionLine("--yes", "answer Yes to the program's questions")
        << OptionLine("--summary text|json", "the result as text lines or one JSON document")
        << OptionLine("--quiet", "no progress line on a terminal")
        << OptionLine("--timeout SECONDS", "how long a statement or a lock is waited for (60)")
        << "\nPasswords:\n"
        << "--password P, and a Pwd= in --target, can be read by every user of the machine\n"
        << "(ps, /proc/PID/cmdline). To keep the password off the command line, give\n"
        << "--password-file FILE (its first line is the password; a file that cannot be\n"
        << "read stops the command), or set XLSLOAD_PASSWORD, or give --user alone on a\n"
        << "terminal and type the password when asked: it is not echoed. Each also serves\n"
        << "an odbc: --target without Pwd=. The company directory, CompFile.mdb, keeps\n"
        << "its passwords obfuscated, not encrypted: whoever can read the file can\n"
        << "recover them.\n"
        << "\nProgram folder:\n"
        << "The program folder holds EXCEL (workbooks and match files), LOG/XLSLOADLOG,\n"
        << "GSETUP.ini and CompFile.mdb. It is the --home folder when given, else the\n"
        << "folder XLSLOAD_HOME names, else the executable's folder when it holds\n"
        << "GSETUP.ini or EXCEL (a portable copy), else the user's data folder\n"
        << "(~/.local/share/xlsload), where EXCEL,\n"
        << "LOG/XLSLOADLOG and an example GSETUP.ini are made on first start.\n"
        << "\nExit status:\n"
        << "0 done and no row rejected, 1 done with rejected rows, 2 refused or failed.\n";
}

const Command* Find(const QString& name) {
    for (const Command& command : Commands())
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // Names the user's data folder, whatever the executable is called.
    QCoreApplication::setApplicationName("xlsload");
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const QString first = args.value(0);
    if (first == "--help" || first == "-h") {
        PrintUsage(out);
        return 0;
    }
    if (first == "--version") {
        QCoreApplication app(argc, argv);
        out << kVersion << "\nProgram folder: " << ProgramFolder({}) << "\n";
        return 0;
    }
    if (const Command* command = Find(first)) {
        // Sub-commands run without a display.
        QCoreApplication app(argc, argv);
        return command->run(args.mid(1));
    }
    const bool homeGiven = args.size() == 2 && first == "--home";
    if (!args.isEmpty() && !homeGiven) {
        // Only the first word not understood is named: the words after it
        // may hold a password.
        const QString unknown = first == "--home" ? args.value(2) : first;
        err << "xlsload: "
            << (unknown.isEmpty() ? "--home needs a value" : "unknown argument " + unknown) << "\n";
        PrintUsage(err);
        return 2;
    }

    QApplication app(argc, argv);
    return RunWindow(ProgramFolder(homeGiven ? args[1] : QString()));
}
