#include "form/RememberedSettings.h"

#include <QFileInfo>
#include <QSettings>

#include "form/Minsert.h"

namespace {
constexpr int kRecentWorkbooks = 8;
}  // namespace

void KeepSettings(const Minsert& form, QSettings& settings) {
    settings.setValue("database/driver", form.CboDriver.listIndex);
    settings.setValue("database/server", form.TxtField[Minsert::kServerName].text);
    settings.setValue("database/name", form.TxtField[Minsert::kDatabaseName].text);
    settings.setValue("database/user", form.TxtField[Minsert::kUserId].text);
    const QString workbook = form.TxtField[Minsert::kWorkbookPath].text;
    settings.setValue("workbook/path", workbook);
    settings.setValue("workbook/sheet", form.LCombo[Minsert::kSheetList].Text());
    settings.setValue("workbook/match", form.TxtField[Minsert::kMatchName].text);
    QStringList recent = settings.value("workbook/recent").toStringList();
    if (!workbook.isEmpty()) {
        recent.removeAll(workbook);
        recent.prepend(workbook);
    }
    settings.setValue("workbook/recent", recent.mid(0, kRecentWorkbooks));
}

void RecallSettings(Minsert& form, QSettings& settings) {
    const int driver = settings.value("database/driver", form.CboDriver.listIndex).toInt();
    if (driver >= 0 && driver < form.CboDriver.items.size()) {
        form.CboDriver.listIndex = driver;
        form.CboDriver_Click();
    }
    form.TxtField[Minsert::kServerName].text = settings.value("database/server").toString();
    form.TxtField[Minsert::kDatabaseName].text = settings.value("database/name").toString();
    form.TxtField[Minsert::kUserId].text = settings.value("database/user").toString();
    form.RecentWorkbooks = settings.value("workbook/recent").toStringList();
    const QString workbook = settings.value("workbook/path").toString();
    if (workbook.isEmpty() || !QFileInfo(workbook).isFile()) return;
    form.ChooseWorkbook(workbook);
    // The match file is applied as the sheet is chosen.
    form.TxtField[Minsert::kMatchName].text = settings.value("workbook/match").toString();
    if (!form.ChooseSheet(settings.value("workbook/sheet").toString()))
        form.TxtField[Minsert::kMatchName].text.clear();
}
