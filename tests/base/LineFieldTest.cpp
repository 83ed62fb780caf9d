#include <gtest/gtest.h>

#include "base/LineField.h"

namespace {

TEST(LineField, KeepsARecordOnOneLineAndEveryCharacterReadable) {
    const QPair<QString, QString> cases[] = {
        {"plain", "plain"},
        {"a\tb", "a\\tb"},
        {"1\n2", "1\\n2"},
        {"cr\rx", "cr\\rx"},
        {"back\\s", "back\\\\s"},
        {"", ""},
        {"\\n", "\\\\n"},
        {QString("nul") + QChar(0) + "byte", "nul\\0byte"},
        {QString(QChar(0)) + "\\0", "\\0\\\\0"},
        {"\r\n\t\\", "\\r\\n\\t\\\\"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(LineField(text), field) << text.size();
}

}  // namespace
