#include "cli/RunSummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/LineField.h"
#include "form/Minsert.h"
#include "validation/VerifyPass.h"

namespace {

QString VerdictOf(int color) {
    for (const ErrorKind& kind : kErrorKinds)
        if (kind.color == color) return kind.verdict;
    return {};
}

}  // namespace

RunSummary SummarizeVerify(const Minsert& form) {
    RunSummary summary;
    summary.total = form.TxtField[Minsert::kTotalLines].text.toInt();
    summary.ok = form.TxtField[Minsert::kOkLines].text.toInt();
    summary.errors = form.TxtField[Minsert::kErrorLines].text.toInt();
    QStringList columns;  // target column of each result-grid column
    const Grid& mapping = *form.SC[Minsert::kMappingGrid];
    for (int i = 0; i < mapping.Rows(); ++i)
        if (!mapping.CellText(i, 1).isEmpty()) columns << mapping.CellText(i, 1);
    const Grid& result = *form.SC[Minsert::kResultGrid];
    for (int r = 0; r < result.Rows(); ++r) {
        RunSummary::Rejected row{result.CellText(r, -1).toInt(), {}, {}};
        QStringList coloured;
        for (int c = 0; c < result.Cols(); ++c) {
            if (const int color = result.CellBackColor(r, c)) {
                row.verdict = VerdictOf(color);
                coloured << columns.value(c);
            }
        }
        row.columns = coloured.join(",");
        summary.rejected << row;
    }
    return summary;
}

QString VerifyText(const RunSummary& summary) {
    QString text = "Total Line " + QString::number(summary.total) + "\n" + "Total OK Line " +
                   QString::number(summary.ok) + "\n" + "Total Error Line " +
                   QString::number(summary.errors) + "\n";
    for (const RunSummary::Rejected& row : summary.rejected)
        text +=
            QString::number(row.row) + "\t" + row.verdict + "\t" + LineField(row.columns) + "\n";
    return text;
}

QString CountsText(const InsertCounts& counts) {
    return "Inserted " + QString::number(counts.inserted) + "\n" + "Updated " +
           QString::number(counts.updated) + "\n" + "Skipped " + QString::number(counts.skipped) +
           "\n";
}

QString SummaryJson(const RunSummary& summary) {
    QJsonArray rejected;
    for (const RunSummary::Rejected& row : summary.rejected)
        rejected.append(
            QJsonObject{{"row", row.row}, {"verdict", row.verdict}, {"column", row.columns}});
    QJsonObject json{{"total", summary.total},
                     {"ok", summary.ok},
                     {"errors", summary.errors},
                     {"rejected", rejected}};
    if (summary.counts) {
        json["inserted"] = summary.counts->inserted;
        json["updated"] = summary.counts->updated;
        json["skipped"] = summary.counts->skipped;
    }
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) + "\n";
}
