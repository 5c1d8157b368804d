#include <gtest/gtest.h>

#include <QString>

#include "platform/LeadingInt.h"

namespace tolvane::platform {
namespace {

TEST(ParseLeadingIntTest, TakesSignAndLeadingDigits) {
    struct Case { const char* text; qint32 expected; };
    const Case cases[] = {
        {"0", 0},    {"15", 15},   {"-1", -1},  {"+7", 7},   {"3x", 3},   {"2x", 2},
        {"abc", 0},  {"", 0},      {"-", 0},    {"x3", 0},   {" 12", 12}, {"1 2", 1},
        {"2147483647", 2147483647}, {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLeadingInt(QString::fromLatin1(c.text)), c.expected) << c.text;
}

}  // namespace
}  // namespace tolvane::platform
