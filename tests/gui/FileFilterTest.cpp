#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "gui/FileFilter.h"

namespace {

TEST(FileFilter, PipeFiltersBecomeQtFilters) {
    static const struct {
        const char* given;
        const char* expected;
    } kCases[] = {
        {"Excel Files (*.xls)|*.xls", "Excel Files (*.xls)"},
        {"Match Files (*.ini)|*.ini", "Match Files (*.ini)"},
        {"Company Files|*.mdb", "Company Files (*.mdb)"},
        {"Text|*.txt;*.csv|All Files (*.*)|*.*", "Text (*.txt *.csv);;All Files (*.*)"},
        // The pattern part decides, whatever the description says.
        {"Excel Files (*.xlsx)|*.xls", "Excel Files (*.xls)"},
        {"Everything", "Everything (*)"},
    };
    for (const auto& c : kCases) EXPECT_EQ(QtFileFilter(c.given), c.expected) << c.given;
}

}  // namespace
