// Connecting through the "SQL Server" ODBC driver (FreeTDS) to servers that
// are not there, or that never answer, fails in bounded time with the
// driver's own message.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

#include "base/AppError.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"

namespace {

// A TCP socket listening on 127.0.0.1. The kernel completes the handshake
// of every connection, but nothing is ever read or written: a server that
// accepts and stays silent.
class SilentServer {
public:
    SilentServer() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(fd_, 8) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~SilentServer() { Stop(); }
    void Stop() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

struct Attempt {
    AppError error{0, {}};
    qint64 seconds = 0;
};

Attempt ConnectToPort(int port) {
    QElapsedTimer clock;
    clock.start();
    try {
        DbConnection::Connect(OdbcTarget(SqlServerConnectionString(
            QString("127.0.0.1,%1").arg(port), "TILLDEMO", "sa", "secret")));
    } catch (const AppError& e) {
        return {e, clock.elapsed() / 1000};
    }
    ADD_FAILURE() << "connected to port " << port;
    return {};
}

void SkipWithoutTheDriver(const AppError& e) {
    if (!e.Description().contains("FreeTDS"))
        GTEST_SKIP() << "the ODBC driver \"SQL Server\" is not FreeTDS here (run "
                        "scripts/install-deps.sh): "
                     << e.Description().toStdString();
}

TEST(FreeTdsConnect, AClosedPortFailsAtOnceWithTheDriversMessage) {
    SilentServer server;
    const int port = server.Port();
    server.Stop();
    const Attempt attempt = ConnectToPort(port);
    SkipWithoutTheDriver(attempt.error);
    EXPECT_LT(attempt.seconds, 5);
    EXPECT_TRUE(attempt.error.Description().contains("Unable to connect"))
        << attempt.error.Description().toStdString();
    EXPECT_FALSE(attempt.error.Description().contains("secret"));
}

// The login timeout is 15 s: the limit here only tells a bounded wait from
// a hang.
TEST(FreeTdsConnect, AServerThatNeverAnswersFailsWhenTheLoginTimesOut) {
    SilentServer server;
    ASSERT_GT(server.Port(), 0);
    const Attempt attempt = ConnectToPort(server.Port());
    SkipWithoutTheDriver(attempt.error);
    EXPECT_LT(attempt.seconds, 25);
    EXPECT_TRUE(attempt.error.Description().contains("Timeout expired"))
        << attempt.error.Description().toStdString();
}

}  // namespace
