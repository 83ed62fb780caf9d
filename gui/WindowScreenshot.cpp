// Renders the main window into a PNG file after the demo's items sheet was
// verified and written, so that it shows a mapping, totals and a result.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextStream>

#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"
#include "form/Minsert.h"
#include "form/RecordingOperator.h"
#include "gui/MainWindow.h"

namespace {

// The program folder of the demo: GSETUP.ini and EXCEL/ from examples.
bool CopyExamples(const QString& examples, const QString& home) {
    if (!QDir().mkpath(home + "/EXCEL")) return false;
    if (!QFile::copy(examples + "/GSETUP.ini", home + "/GSETUP.ini")) return false;
    for (const QString& name : QDir(examples + "/EXCEL").entryList(QDir::Files))
        if (!QFile::copy(examples + "/EXCEL/" + name, home + "/EXCEL/" + name)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: window_screenshot OUTPUT.png EXAMPLES_FOLDER\n";
        return 2;
    }
    QTemporaryDir home;
    if (!CopyExamples(QString::fromLocal8Bit(argv[2]), home.path())) {
        QTextStream(stderr) << "cannot copy the examples from " << argv[2] << "\n";
        return 1;
    }
    const QString target = SqliteTarget(home.path() + "/till.db");
    CreateDemoSchema(*DbConnection::Connect(target, DbConnection::SqliteFile::Create));
    RecordingOperator op;
    Minsert form(op, home.path());
    MainWindow window(form);
    form.Form_Load();
    form.ConnectTarget(target);
    form.TxtField[Minsert::kMatchName].text = "DEMO_ITEMS";
    form.ChooseWorkbook(home.path() + "/EXCEL/Demo.xls");
    if (!form.ChooseSheet("Items")) {
        QTextStream(stderr) << "the demo workbook has no sheet Items\n";
        return 1;
    }
    form.CVerify_Click();
    form.CStart_Click();
    if (!op.errors.isEmpty() || op.LastMessage() != "Insert Done.") {
        QTextStream(stderr) << "the demo import failed: "
                            << (op.errors.isEmpty() ? op.LastMessage()
                                                    : op.errors[0].ErrDescription)
                            << "\n";
        return 1;
    }
    window.Sync();
    window.show();
    // At the form's designed size, whatever the size of the offscreen screen.
    window.resize(window.findChild<QScrollArea*>("FormScroll")->widget()->size());
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
