// The Start command's pass over the sheet.
#include "base/ErrorLog.h"
#include "database/DbConnection.h"
#include "form/CountText.h"
#include "form/Minsert.h"
#include "form/ProgressThrottle.h"
#include "import/InsertPass.h"
#include "import/SetInsertPass.h"

void Minsert::InsertData() {
    if (TargetSelectList.isEmpty()) return;
    HideDuplicateMustDefaultField();
    if (!ExcelConnection)
        throw AppError(ErrorNumber::ConnectionClosed,
                       "No workbook is open: choose a workbook and its sheet first.");
    if (!SqlConnection)
        throw AppError(ErrorNumber::ConnectionClosed,
                       "No database is connected: press Connect first.");
    ProgressThrottle throttle(ProgressIntervalMs);
    // As a set nothing is written until the whole sheet is; when the set
    // is refused, the records go one by one and those written stay.
    static const QString kStopRecords =
        "Stop Insert at this row? The rows written so far stay written.";
    const RunningPass running(*this, WriteSheetAsSet && GoesAsSet(TABLENAME.text)
                                         ? "Nothing of this sheet has been written yet; stop?"
                                         : kStopRecords);
    InsertStoppedAt = 0;
    InsertNote.clear();
    InsertTotals = RunInsertPass(
        *ExcelConnection, *SqlConnection,
        {TABLENAME.text,
         LCombo[kSheetList].Text(),
         home_,
         SelectLists{SheetSelectListBom, SheetSelectList, TargetSelectList},
         {PRIMARYFIELD[0].text, PRIMARYFIELD[1].text, PRIMARYFIELD[2].text},
         *SC[kMustDefaultList],
         DefaultFieldList,
         DefaultFieldCount,
         *SC[kResultGrid],
         reporter_.Now()().date(),
         WriteSheetAsSet},
        [&](int position, int count) {
            if (throttle.Due()) ShowProgress(ProgressText("Insert Data...", position, count));
            if (stopRequested_) InsertStoppedAt = position;
            return !stopRequested_;
        },
        [&](const QString& step) { ShowProgress(step); },
        [&](const QString& text) {
            InsertNote = text;
            runningPass_ = kStopRecords;
            WriteLog(home_, "Err", text, reporter_.Now()());
            op_.Notice(text);
        });
    ShowProgress("");
}
