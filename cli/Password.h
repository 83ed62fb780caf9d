#pragma once

#include <QString>

struct RunOptions;

// The environment variable that gives the password when no option does.
inline constexpr char kPasswordVariable[] = "XLSLOAD_PASSWORD";

// Fills in the login's password where --password does not give it: the
// first line of --password-file, else XLSLOAD_PASSWORD, else, when --user
// is given and stdin is a terminal, the answer to a prompt that is not
// echoed. Only a database that takes a password from the command line gets
// one from the environment or the prompt. Answers false, saying why in
// error, when the password file cannot be read.
bool FindPassword(RunOptions& o, QString& error);
