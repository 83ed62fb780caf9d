#include "mapping/MatchFit.h"

#include <QVector>

namespace {

QString NameKey(const QString& name) { return name.simplified().toCaseFolded(); }

QString Quoted(const QStringList& names) { return "'" + names.join("', '") + "'"; }

}  // namespace

MatchFit FitMatchFile(const MatchFile& match, const QStringList& sheetColumns) {
    MatchFit fit;
    if (match.names.isEmpty()) {
        for (int i = 0; i < sheetColumns.size(); ++i) fit.fields << match.fields.value(i);
        return fit;
    }
    // Each file column serves one sheet column, so repeated names pair in order.
    QVector<bool> used(match.names.size(), false);
    for (const QString& column : sheetColumns) {
        int at = 0;
        while (at < match.names.size() && (used[at] || NameKey(match.names[at]) != NameKey(column)))
            ++at;
        if (at == match.names.size()) {
            fit.fields << QString();
            fit.unmatched << column;
            continue;
        }
        used[at] = true;
        fit.fields << match.fields.value(at);
    }
    for (int i = 0; i < match.names.size(); ++i)
        if (!used[i] && !match.fields.value(i).isEmpty()) fit.missing << match.names[i];
    return fit;
}

QString MatchMisfitText(const QString& matchName, const MatchFit& fit) {
    QString text = "The sheet's columns differ from those the match file " + matchName +
                   " was saved with: columns were matched by name.";
    if (!fit.unmatched.isEmpty())
        text += " Not in the match file, left unmapped: " + Quoted(fit.unmatched) + ".";
    if (!fit.missing.isEmpty())
        text += " In the match file but not in the sheet: " + Quoted(fit.missing) + ".";
    return text;
}
