#pragma once

class Minsert;
class QSettings;

// What the window remembers from one start to the next, per user: the
// driver, server, database (or SQLite file) and user, never the password;
// the last workbook with its sheet and match file, and the workbooks used
// before it.

// Keeps the form's choices in settings.
void KeepSettings(const Minsert& form, QSettings& settings);
// Gives the form the choices kept: the workbook is opened again, and its
// sheet chosen (with its match file), where the file is still there.
void RecallSettings(Minsert& form, QSettings& settings);
