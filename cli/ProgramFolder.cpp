#include "cli/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The example defaults a new user's data folder starts with.
void PrepareUserDataFolder(const QString& folder) {
    QDir().mkpath(folder + "/EXCEL");
    QDir().mkpath(folder + "/LOG/XLSLOADLOG");
    const QString setup = folder + "/GSETUP.ini";
    if (!QFile::exists(setup) && QFile::copy(":/xlsload/GSETUP.ini", setup))
        QFile::setPermissions(setup, QFile::permissions(setup) | QFile::WriteOwner);
}

}  // namespace

QString ChooseProgramFolder(const ProgramFolderRule& rule) {
    if (!rule.given.isEmpty()) return QDir(rule.given).absolutePath();
    if (!rule.environment.isEmpty()) return QDir(rule.environment).absolutePath();
    if (rule.executableFolderIsPortable) return rule.executableFolder;
    return rule.userDataFolder;
}

QString ProgramFolder(const QString& given) {
    ProgramFolderRule rule;
    rule.given = given;
    rule.environment = qEnvironmentVariable("XLSLOAD_HOME");
    rule.executableFolder = QCoreApplication::applicationDirPath();
    rule.executableFolderIsPortable = QFileInfo::exists(rule.executableFolder + "/GSETUP.ini") ||
                                      QFileInfo(rule.executableFolder + "/EXCEL").isDir();
    rule.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString folder = ChooseProgramFolder(rule);
    if (folder == rule.userDataFolder) PrepareUserDataFolder(folder);
    return folder;
}
