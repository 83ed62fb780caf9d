#include "gui/RunWindow.h"

#include <QApplication>
#include <QSettings>

#include "form/Minsert.h"
#include "form/RememberedSettings.h"
#include "gui/AppIcon.h"
#include "gui/MainWindow.h"
#include "gui/QtOperator.h"

int RunWindow(const QString& home) {
    QApplication::setWindowIcon(AppIcon());
    QtOperator op;
    Minsert form(op, home);
    MainWindow window(form);
    op.Attach(&window, [&window] { window.Sync(); });
    form.Form_Load();
    // Per user; the password is never kept.
    QSettings settings("xlsload", "xlsload");
    window.restoreGeometry(settings.value("window/geometry").toByteArray());
    window.Sync();
    window.show();
    // With the window up, so that what reopening the workbook says shows on it.
    RecallSettings(form, settings);
    window.Sync();
    const int status = QApplication::exec();
    KeepSettings(form, settings);
    settings.setValue("window/geometry", window.saveGeometry());
    return status;
}
