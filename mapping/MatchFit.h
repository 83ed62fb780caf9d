#pragma once

#include <QString>
#include <QStringList>

#include "mapping/MatchFile.h"

// A match file laid over the columns of the sheet on show.
struct MatchFit {
    QStringList fields;     // "TILL Field" for each sheet column, empty when unmapped
    QStringList unmatched;  // sheet columns the file has no name for: left unmapped
    QStringList missing;    // mapped columns of the file the sheet has no name for
    bool Fits() const { return unmatched.isEmpty() && missing.isEmpty(); }
};

// A file without names maps by position, as files always did. A file with
// names maps each sheet column to the file's column of the same name, letter
// case and blanks around it aside, wherever it stands.
MatchFit FitMatchFile(const MatchFile& match, const QStringList& sheetColumns);

// What the operator is told when the file does not fit the sheet.
QString MatchMisfitText(const QString& matchName, const MatchFit& fit);
