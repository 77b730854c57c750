#include "toolkit/components/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(SysUtils, TextIsANumberOnlyAsDecimalDigitsWithAnOptionalLeadingMinusWithin32Bits) {
    EXPECT_EQ(TryStrToInt("0"), 0);
    EXPECT_EQ(TryStrToInt("10"), 10);
    EXPECT_EQ(TryStrToInt("-7"), -7);
    EXPECT_EQ(TryStrToInt("007"), 7);
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "-", "--1", "+5", " 5", "5 ", "1.5", "1e3", "0x10", "$10", "abc", "12a",
                            "2147483648", "-2147483649", "99999999999999999999", "-+1", "\xD9\xA1"}) {
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << "'" << bad << "'";
    }
    EXPECT_EQ(StrToIntDef("x", -3), -3);
    EXPECT_EQ(StrToIntDef("42", -3), 42);
}

TEST(SysUtils, IntToStrAndTrim) {
    EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(IntToStr(13), "13");
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim("   "), "");
}

} // namespace
