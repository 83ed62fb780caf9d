#pragma once

#include <QString>

// True when the code holds a character the till cannot accept: a double
// quote, a space (code 32 only), a single quote or a hash.
bool CheckString(const QString& text);

// True when the text holds a control character (U+0000 to U+001F, U+007F),
// which a code cannot hold: a tab or a line break is unseen in a till's
// lists, and a NUL ends the code wherever it is read.
bool HasControlCharacter(const QString& text);

// Recovers a password stored in the company directory. The stored text
// carries its keys: characters 1, 2, 3 and the last one, taken as their
// Windows-1252 codes; each payload code is lowered by the keys in turn.
// Answers "Error: Invalid text to Decrypt" when the text cannot be decrypted.
QString Decrypt(const QString& stored);

extern const QString kInvalidDecrypt;

// Windows-1252 single-byte code of a character (63, "?", when it has none)
// and the character of a code 0..255.
int Cp1252Code(QChar c);
QChar Cp1252Char(int code);

// Trimmed and upper-cased: the form in which column names are compared.
QString ColumnKey(const QString& name);

// The number at the front of a text: blanks are ignored, "." is always the
// decimal point, reading stops at the first character that cannot continue
// the number, and a text that does not begin with one gives 0.
double Val(const QString& text);
