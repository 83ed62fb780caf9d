#include "gui/RunWindow.h"

#include <QApplication>

#include "form/Minsert.h"
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
    window.Sync();
    window.show();
    return QApplication::exec();
}
