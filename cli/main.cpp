// xlsload: the main window, or one sub-command run without a window.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "cli/Commands.h"
#include "gui/RunWindow.h"

namespace {

constexpr const char* kVersion = "xlsload 20140704";

// Usage lines put the help text in the column the command table uses.
QString UsageLine(const QString& arguments, const QString& help) {
    return "  xlsload " + QString("%1").arg(arguments, -24) + " " + help + "\n";
}

void PrintUsage(QTextStream& out) {
    out << "Usage:\n"
        << UsageLine("[--home DIR]",
                     "open the main window (DIR: program folder, default the "
                     "executable's folder)");
    for (const Command& command : Commands()) out << "  xlsload " << command.usage << "\n";
    out << UsageLine("--help", "this text") << UsageLine("--version", "the program's version");
}

const Command* Find(const QString& name) {
    for (const Command& command : Commands())
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
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
        out << kVersion << "\n";
        return 0;
    }
    if (const Command* command = Find(first)) {
        // Sub-commands run without a display.
        QCoreApplication app(argc, argv);
        return command->run(args.mid(1));
    }
    const bool homeGiven = args.size() == 2 && first == "--home";
    if (!args.isEmpty() && !homeGiven) {
        err << "xlsload: unknown arguments: " << args.join(' ') << "\n";
        PrintUsage(err);
        return 2;
    }

    QApplication app(argc, argv);
    return RunWindow(homeGiven ? QDir(args[1]).absolutePath()
                               : QCoreApplication::applicationDirPath());
}
