#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

// The scripted SQL Server endpoint of the shared tools (TDS 7.4) on a free
// port of 127.0.0.1, for one test: it answers the program's statements from
// the demo schema and logs what the client sends. Stopped with the object.
class TdsCapture {
public:
    // The endpoint's script, or empty where the shared tools are absent.
    static QString Script() {
        const QString script =
            QString(XLSLOAD_SOURCE_DIR "/../shared/tools/tds-capture/tds_capture.py");
        return QFile::exists(script) ? QDir::cleanPath(script) : QString();
    }

    // The demo schema the endpoint serves unless the options name another.
    static QString DemoSchema() { return XLSLOAD_SOURCE_DIR "/database/schema/sqlserver.sql"; }

    // The demo schema with each of the edits (text before, text after)
    // made, written under dir, for a target with other column types.
    static QString EditedSchema(const QTemporaryDir& dir,
                                const QList<QPair<QString, QString>>& edits) {
        QFile demo(DemoSchema());
        demo.open(QIODevice::ReadOnly);
        QString text = QString::fromUtf8(demo.readAll());
        for (const auto& [before, after] : edits) text.replace(before, after);
        const QString path = dir.filePath("schema.sql");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
        return path;
    }

    explicit TdsCapture(const QStringList& options = {}) {
        port_ = FreePort();
        process_.start("/usr/bin/python3", QStringList{Script(), "--schema", DemoSchema(), "--port",
                                                       QString::number(port_), "--log", LogPath()} +
                                               options);
        QElapsedTimer clock;
        clock.start();
        while (!Log().contains("listening") && clock.elapsed() < 10000 &&
               process_.state() != QProcess::NotRunning)
            QThread::msleep(20);
    }
    ~TdsCapture() {
        process_.kill();
        process_.waitForFinished();
    }

    bool Listening() const { return Log().contains("listening"); }
    // The server as the connection string names it.
    QString Server() const { return QString("127.0.0.1,%1").arg(port_); }
    QString Log() const {
        QFile file(LogPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // The statement texts the client ran, in order: each batch's, each
    // remote procedure call's that carries one (sp_executesql's first value,
    // sp_prepare's and sp_prepexec's third, sp_cursoropen's second), and
    // for each sp_execute the text its handle was prepared with (the
    // endpoint numbers handles from 1 as they are prepared).
    QStringList Statements() const {
        static const QHash<QString, int> kStatementAt{
            {"sp_executesql", 0}, {"sp_prepare", 2}, {"sp_prepexec", 2}, {"sp_cursoropen", 1}};
        QStringList statements;
        QStringList prepared;
        for (const QString& line : Log().split('\n')) {
            const QStringList parts = line.split(' ');
            if (parts.value(1) == "BATCH") {
                const QString json = "[" + line.section(' ', 2) + "]";
                statements << QJsonDocument::fromJson(json.toUtf8()).array()[0].toString();
                continue;
            }
            if (parts.value(1) != "RPC") continue;
            const QString call = parts.value(2);
            const QJsonArray values =
                QJsonDocument::fromJson(line.section(' ', 3).toUtf8()).array();
            if (call == "sp_execute") {
                statements << prepared.value(values[0]["value"].toInt() - 1);
            } else if (kStatementAt.contains(call)) {
                statements << values[kStatementAt[call]]["value"].toString();
                if (call == "sp_prepare" || call == "sp_prepexec") prepared << statements.last();
            }
        }
        return statements;
    }

    // Whether a text beyond ASCII went as VARCHAR, in the server's code page,
    // where a character it lacks is lost.
    bool SentNarrowTextBeyondAscii() const {
        static const QRegularExpression kNarrow(
            "\"type\": \"(var)?char\\(\\d+\\)\", \"value\": \"[^\"]*[^\\x{0}-\\x{7f}]");
        return kNarrow.match(Log()).hasMatch();
    }

private:
    static int FreePort() {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        close(fd);
        return ntohs(address.sin_port);
    }
    QString LogPath() const { return dir_.filePath("tds.log"); }

    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
};

// Skips the calling test where the endpoint cannot run here.
#define SKIP_WITHOUT_TDS_CAPTURE()      \
    if (TdsCapture::Script().isEmpty()) \
    GTEST_SKIP() << "no shared tds-capture tool beside the repository (../shared)"
