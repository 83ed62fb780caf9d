// Renders the main window as it first opens into a PNG file.
#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include "form/Minsert.h"
#include "form/RecordingOperator.h"
#include "gui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: window_screenshot OUTPUT.png\n";
        return 2;
    }
    QTemporaryDir home;
    RecordingOperator op;
    Minsert form(op, home.path());
    MainWindow window(form);
    form.Form_Load();
    window.Sync();
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
