#include <gtest/gtest.h>

#include <QDir>

#include "QStringPrinter.h"
#include "cli/ProgramFolder.h"

namespace {

struct Case {
    const char* name;
    ProgramFolderRule rule;
    QString folder;
};

const QString kExe = "/opt/xlsload/bin";
const QString kData = "/home/clerk/.local/share/xlsload";

const Case kCases[] = {
    {"a portable copy's folder", {"", "", kExe, true, kData}, kExe},
    {"an installed executable's folder", {"", "", kExe, false, kData}, kData},
    {"XLSLOAD_HOME over a portable copy", {"", "/srv/shop", kExe, true, kData}, "/srv/shop"},
    {"XLSLOAD_HOME over the data folder", {"", "/srv/shop", kExe, false, kData}, "/srv/shop"},
    {"--home over everything", {"/srv/other", "/srv/shop", kExe, false, kData}, "/srv/other"},
    {"--home over a portable copy", {"/srv/other", "", kExe, true, kData}, "/srv/other"},
    {"a relative --home", {"shop", "", kExe, false, kData}, QDir::current().filePath("shop")},
    {"a relative XLSLOAD_HOME",
     {"", "shop/../till", kExe, true, kData},
     QDir::current().filePath("till")},
};

TEST(ProgramFolderTest, TheRulePicksTheFolder) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChooseProgramFolder(c.rule), c.folder);
    }
}

}  // namespace
