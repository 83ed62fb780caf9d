#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "import/InsertPass.h"

class Minsert;

// What verify and import print on stdout.
struct RunSummary {
    struct Rejected {
        int row = 0;
        QString verdict;
        QString columns;  // the coloured target columns, comma-separated
    };
    int total = 0;
    int ok = 0;
    int errors = 0;
    QList<Rejected> rejected;
    std::optional<InsertCounts> counts;  // import only, once Start has written
};

// The totals and the rejected rows of the form's last Verify.
RunSummary SummarizeVerify(const Minsert& form);

// "Total Line N", "Total OK Line N", "Total Error Line N", then one line a
// rejected row: row TAB verdict TAB columns.
QString VerifyText(const RunSummary& summary);
// "Inserted N", "Updated N", "Skipped N".
QString CountsText(const InsertCounts& counts);
// The whole summary as one JSON document on one line, for scripts.
QString SummaryJson(const RunSummary& summary);
