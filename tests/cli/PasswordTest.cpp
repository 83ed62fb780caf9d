// The login's password, whichever way it is given, reaches the server and
// nothing the program writes: the daily log, the verdict files, the
// messages, the summary. Against the scripted SQL Server endpoint, whose log
// shows the password of each login, and the test PostgreSQL server, which
// refuses a wrong one.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "TdsCapture.h"
#include "TestWorkbook.h"

namespace {

// A ";" and a blank: the password must arrive whole in any connection string.
const QString kSecret = "Zx9;s3cret pw";

enum class Way { Option, InTarget, File, Environment, Prompt, None };
enum class Server { SqlServer, PostgreSql };

struct PasswordCase {
    const char* name;
    Way way;
    Server server;
    bool byTarget;  // the database named by an odbc: --target, not by --server
    bool json;      // --summary json
    int exitCode;
    const char* told;  // a text the messages hold
};

void PrintTo(const PasswordCase& c, std::ostream* os) { *os << c.name; }

const char kRefused[] = "password authentication failed";

const PasswordCase kCases[] = {
    {"option", Way::Option, Server::SqlServer, false, false, 1, "Message: Insert Done."},
    {"target", Way::InTarget, Server::SqlServer, true, true, 1, "Message: Insert Done."},
    {"file", Way::File, Server::SqlServer, false, false, 1, "Message: Insert Done."},
    {"file_for_a_target", Way::File, Server::SqlServer, true, true, 1, "Message: Insert Done."},
    {"environment", Way::Environment, Server::SqlServer, false, true, 1, "Message: Insert Done."},
    {"prompt", Way::Prompt, Server::SqlServer, false, false, 1, "Message: Insert Done."},
    {"none_without_a_terminal", Way::None, Server::SqlServer, false, false, 2,
     "Message: Invalid Password !!!"},
    {"refused_target", Way::InTarget, Server::PostgreSql, true, false, 2, kRefused},
    {"refused_file", Way::File, Server::PostgreSql, true, true, 2, kRefused},
    {"refused_environment", Way::Environment, Server::PostgreSql, true, false, 2, kRefused},
};

class PasswordTest : public testing::TestWithParam<PasswordCase> {
protected:
    void SetUp() override {
        const PasswordCase& c = GetParam();
        if (c.server == Server::SqlServer && TdsCapture::Script().isEmpty())
            GTEST_SKIP() << "no shared tds-capture tool beside the repository (../shared)";
        if (c.server == Server::PostgreSql && qEnvironmentVariableIsEmpty("XLSLOAD_TEST_PG"))
            GTEST_SKIP() << "XLSLOAD_TEST_PG is not set: run the tests through "
                            "scripts/with-postgres.sh";
        if (c.way == Way::Prompt && QStandardPaths::findExecutable("script").isEmpty())
            GTEST_SKIP() << "util-linux's script is not installed: no terminal to type on";
        home = dir.path();
        ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
        // A repeated code: a verdict file and a rejected row in the summary.
        WriteWorkbook(
            home + "/EXCEL/Book.xls",
            {{"Members", {{"No", "Name"}, {"M1", "Ann"}, {"M1", "Again"}, {"M2", "Bob"}}}});
    }

    // The arguments that name the database and, as the case gives it, the password.
    QStringList Database(const QString& sqlServer) const {
        const PasswordCase& c = GetParam();
        QString target;
        if (c.server == Server::PostgreSql) {
            target = qEnvironmentVariable("XLSLOAD_TEST_PG")
                         .replace("Pwd=xlsload;",
                                  c.way == Way::InTarget ? "Pwd={" + kSecret + "};" : QString());
        } else if (c.byTarget) {
            target = QString("odbc:Driver={SQL Server};Server={%1};Database={till};Uid={sa};")
                         .arg(sqlServer);
            if (c.way == Way::InTarget) target += "Pwd={" + kSecret + "};";
        }
        QStringList args = target.isEmpty() ? QStringList{"--server", sqlServer, "--database",
                                                          "till",     "--user",  "sa"}
                                            : QStringList{"--target", target};
        if (c.way == Way::Option) args << "--password" << kSecret;
        if (c.way == Way::File) args << "--password-file" << PasswordFile();
        return args;
    }

    // The password's file, outside the program folder, with a second line.
    QString PasswordFile() const {
        const QString path = secrets.filePath("password.txt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((kSecret + "\r\nnot the password\r\n").toUtf8());
        return path;
    }

    // Runs the import; answers everything it wrote to its terminal or to
    // stdout and stderr.
    QString Import(const QStringList& args, int& exitCode) const {
        const PasswordCase& c = GetParam();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("XLSLOAD_PASSWORD");
        if (c.way == Way::Environment) environment.insert("XLSLOAD_PASSWORD", kSecret);
        const QString program = QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload";
        QProcess process;
        process.setProcessEnvironment(environment);
        if (c.way != Way::Prompt) {
            process.start(program, args);
            EXPECT_TRUE(process.waitForFinished(120000));
            exitCode = process.exitCode();
            return QString::fromUtf8(process.readAllStandardOutput() +
                                     process.readAllStandardError());
        }
        // On a terminal of its own, typed once the prompt shows.
        QStringList command{"'" + program + "'"};
        for (const QString& a : args) command << "'" + a + "'";
        process.start(QStandardPaths::findExecutable("script"),
                      {"-qec", command.join(' '), "/dev/null"});
        QString shown;
        while (!shown.contains("Password for sa: ") && process.waitForReadyRead(120000))
            shown += QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(shown.contains("Password for sa: ")) << shown.toStdString();
        process.write((kSecret + "\n").toUtf8());
        EXPECT_TRUE(process.waitForFinished(120000));
        exitCode = process.exitCode();
        return shown + QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir dir;
    QTemporaryDir secrets;
    QString home;
};

TEST_P(PasswordTest, ReachesTheServerAndNothingTheProgramWrites) {
    const PasswordCase& c = GetParam();
    std::unique_ptr<TdsCapture> endpoint;
    if (c.server == Server::SqlServer) {
        endpoint = std::make_unique<TdsCapture>();
        ASSERT_TRUE(endpoint->Listening());
    }
    QStringList args{"import", "--home", home};
    args << Database(endpoint ? endpoint->Server() : QString())
         << QStringList{"--workbook", home + "/EXCEL/Book.xls", "--sheet", "Members",
                        "--table",    "CLUB_MT_MEMBER",         "--map",   "No=MEMBERCODE",
                        "--map",      "Name=MEMBERNAME",        "--yes"};
    if (c.json)
        args << "--summary"
             << "json";
    int exitCode = -1;
    const QString output = Import(args, exitCode);
    EXPECT_EQ(exitCode, c.exitCode) << output.toStdString();
    EXPECT_TRUE(output.contains(c.told)) << output.toStdString();
    EXPECT_FALSE(output.contains(kSecret)) << output.toStdString();

    if (endpoint) {
        const bool given = c.way != Way::None;
        EXPECT_EQ(endpoint->Log().contains("LOGIN7 password='" + kSecret + "'"), given)
            << endpoint->Log().toStdString();
    }
    // What the run left in the program folder: the verdict files of an
    // import, the daily log's record of a refused login.
    EXPECT_EQ(QFile::exists(home + "/EXCEL/Book_Migrate_DUPLICATEVALUE.txt"), c.exitCode == 1);
    EXPECT_EQ(QDir(home + "/LOG/XLSLOADLOG").isEmpty(), c.server != Server::PostgreSql);
    for (QDirIterator it(home, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        EXPECT_FALSE(QString::fromUtf8(file.readAll()).contains(kSecret))
            << file.fileName().toStdString();
    }
}

// A command line the program does not understand is refused naming the
// first word it stopped at, never the words after it.
TEST(PasswordMistypedTest, IsNotEchoedInTheRefusal) {
    const struct {
        QStringList args;
        const char* told;
    } kCases[] = {
        {{"--home", "/tmp", "--password", kSecret}, "xlsload: unknown argument --password\n"},
        {{"--password", kSecret}, "xlsload: unknown argument --password\n"},
        {{"import", "--pasword", kSecret, "--workbook", "w", "--sheet", "s"},
         "xlsload: unknown option --pasword\n"},
    };
    for (const auto& c : kCases) {
        QProcess process;
        process.start(QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload", c.args);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString told = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), 2);
        EXPECT_TRUE(told.startsWith(c.told)) << told.toStdString();
        EXPECT_FALSE(told.contains(kSecret)) << told.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EachWay, PasswordTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PasswordCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
