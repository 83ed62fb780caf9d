// The Verify command's pass over the sheet.
#include "base/Connection.h"
#include "base/TextUtil.h"
#include "form/CountText.h"
#include "form/Minsert.h"
#include "form/ProgressThrottle.h"
#include "import/DefaultValues.h"
#include "mapping/ColumnDiscovery.h"
#include "mapping/SelectLists.h"
#include "validation/VerifyPass.h"

void Minsert::ShowProgress(const QString& text) {
    LblProgress.caption = text;
    op_.Progress(text);
}

bool Minsert::VerifyData() {
    ShowProgress("");
    LoadFieldList(ColumnListing::All);
    Grid& result = *SC[kResultGrid];
    result.SetCols(0);
    result.SetRows(0);
    const Grid& mapping = *SC[kMappingGrid];
    for (int i = 0; i < mapping.Rows(); ++i) {
        if (mapping.CellText(i, 1).isEmpty()) continue;
        result.InsertCols(result.Cols(), 1);
        result.SetCellText(-1, result.Cols() - 1,
                           mapping.CellText(i, 0) + "=" + mapping.CellText(i, 1));
    }
    LoadHeader(kResultGrid);
    GetColumnList();
    if (!ExcelConnection)
        throw AppError(ErrorNumber::ConnectionClosed,
                       "No workbook is open: choose a workbook and its sheet first.");
    const QString sheet = LCombo[kSheetList].Text();
    const QString query =
        VerifyQuery(TABLENAME.text, sheet, {SheetSelectListBom, SheetSelectList, TargetSelectList},
                    SheetColumnList(mapping));
    ProgressThrottle throttle(ProgressIntervalMs);
    const RunningPass running(*this,
                              "Stop Verify at this row? Start stays off until a whole "
                              "sheet is verified.");
    QStringList mapped;
    for (int i = 0; i < mapping.Rows(); ++i) mapped << mapping.CellText(i, 1);
    const QVector<Field> targets =
        Connected() ? ReadTargetFields(*SqlConnection, TABLENAME.text, mapped, PRIMARYFIELD[0].text)
                    : QVector<Field>(mapping.Rows());
    VerifyResult =
        RunVerifyPass(*ExcelConnection, result,
                      {mapping, TABLENAME.text, sheet, query, MaxLength, targets,
                       home_ + "/EXCEL/" + TxtField[kWorkbookName].text + "_Migrate_"},
                      [&](int position, int count) {
                          if (throttle.Due())
                              ShowProgress(ProgressText("Processing...", position, count));
                          if (stopRequested_) throw PassStopped{position, count};
                      });
    TxtField[kTotalLines].text = QString::number(VerifyResult.total);
    ShowProgress("");
    TxtField[kErrorLines].text = QString::number(VerifyResult.bad);
    TxtField[kOkLines].text = QString::number(VerifyResult.total - VerifyResult.bad);
    return VerifyResult.errorsFound;
}

QString Minsert::SetupDefaultProblem() {
    if (!Connected()) return {};
    HideDuplicateMustDefaultField();
    const Grid& mustDefault = *SC[kMustDefaultList];
    QList<SetupDefault> defaults;
    for (const SetupDefault& d : SetupDefaults(TABLENAME.text, ReadSetupCodes(home_)))
        for (int i = 0; i < mustDefault.Rows(); ++i)
            if (mustDefault.RowHeight(i) != 0 && mustDefault.CellText(i, 0) == d.column)
                defaults << d;
    if (defaults.isEmpty()) return {};
    QHash<QString, int> lengths;
    for (const TargetColumn& c :
         ReadTargetColumns(*SqlConnection, TABLENAME.text, ColumnListing::All, {}))
        lengths.insert(ColumnKey(c.name), c.length);
    QStringList columns;
    for (const SetupDefault& d : defaults) columns << d.column;
    const QVector<Field> fields =
        ReadTargetFields(*SqlConnection, TABLENAME.text, columns, PRIMARYFIELD[0].text);
    for (int i = 0; i < defaults.size(); ++i) {
        const SetupDefault& d = defaults[i];
        if (const QString problem =
                ValueProblem(d.column, d.value, fields[i], lengths.value(d.column));
            !problem.isEmpty())
            return QString("The default %1=%2 of GSETUP.ini cannot go into %3: it %4 !!!")
                .arg(d.key, d.value, d.column, problem);
    }
    return {};
}
