#include "cli/Password.h"

#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>
#include <optional>

#include "cli/RunOptions.h"

namespace {

// The first line of the file without its line break (LF or CR LF).
std::optional<QString> FirstLine(const QString& path, QString& error) {
    QFile file(path);
    QByteArray line;
    if (file.open(QIODevice::ReadOnly)) line = file.readLine();
    if (file.error() != QFileDevice::NoError) {
        error = "cannot read the password file " + path + ": " + file.errorString();
        return std::nullopt;
    }
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

// Asks on the terminal of stdin with its echo off, so that the password is
// neither shown nor left on the screen. Echo goes off before the prompt
// shows: nothing typed after it is echoed.
QString AskWithoutEcho(const QString& prompt) {
    termios saved{};
    const bool quiet = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios noEcho = saved;
        noEcho.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &noEcho);
    }
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    QByteArray answer;
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n') answer += c;
    if (quiet) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
    if (answer.endsWith('\r')) answer.chop(1);
    return QString::fromLocal8Bit(answer);
}

}  // namespace

bool FindPassword(RunOptions& o, QString& error) {
    if (o.password) return true;
    if (!o.passwordFile.isEmpty()) {
        o.password = FirstLine(o.passwordFile, error);
        return o.password.has_value();
    }
    if (!TakesPassword(o)) return true;
    if (!qEnvironmentVariableIsEmpty(kPasswordVariable))
        o.password = qEnvironmentVariable(kPasswordVariable);
    else if (!o.user.isEmpty() && isatty(STDIN_FILENO))
        o.password = AskWithoutEcho("Password for " + o.user + ": ");
    return true;
}
