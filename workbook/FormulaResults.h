#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <optional>

#include "workbook/BiffGlobals.h"
#include "workbook/BiffText.h"

// The result a formula cell holds as the workbook last computed and saved
// it, which is what the cell shows; nothing is computed again.
struct FormulaResult {
    enum Kind { Number, Text, Boolean, Error };
    Kind kind = Number;
    double number = 0;               // a number; a boolean as 1 or 0
    QString text;                    // a text; an error as Excel shows it ("#DIV/0!")
    DateKind date = DateKind::None;  // how the cell's format shows the number
};

// Collects the results of one sheet's formula cells (plain, shared and array
// formulas alike) from its records, in stream order. A result that cannot be
// read, cut short or a text result without its text, is reported, as the
// workbook is then read not at all.
class FormulaScan {
public:
    explicit FormulaScan(const BiffGlobals& globals) : globals_(globals) {}

    void Record(quint16 type, QByteArrayView data);
    // Ends the sheet: a text result still waiting for its text is unreadable.
    void Finish();

    // Results by CellKey(row, column).
    const QHash<quint32, FormulaResult>& Results() const { return results_; }
    // Which result could not be read ("the result of the formula in cell
    // R2C3"); empty when all could.
    const QString& Unreadable() const { return unreadable_; }

private:
    struct Cell {
        quint16 row = 0;
        quint16 column = 0;
    };
    void Formula(QByteArrayView data);
    void StringRecord(Cell cell, QByteArrayView data);
    void StoreText(Cell cell, const QString& text);
    void MarkUnreadable(std::optional<Cell> cell);

    const BiffGlobals& globals_;
    QHash<quint32, FormulaResult> results_;
    QString unreadable_;
    std::optional<Cell> awaiting_;    // its text result is in the next STRING record
    std::optional<Cell> continuing_;  // its text goes on in CONTINUE records
    Biff8Text text_;                  // the text read so far for continuing_
};
