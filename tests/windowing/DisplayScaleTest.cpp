#include "toolkit/windowing/DisplayScale.h"

#include "toolkit/graphics/PixelBuffer.h"

#include <climits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct TScaleCase {
    const char* Name;
    std::map<std::string, std::string> Environment;
    const char* Resources; // nullptr: the display has no resource database string at all
    int Scale;
    const char* Source;
    int Ignored; // lines said about values passed over
};

class ScaleChoice : public ::testing::TestWithParam<TScaleCase> {};

TEST_P(ScaleChoice, TakesTheFirstUsableSourceAndSaysWhatItPassedOver) {
    const TScaleCase& c = GetParam();
    int resourceReads = 0;
    std::vector<std::string> ignored;
    const TDisplayScaleChoice choice = ChooseDisplayScale(
        [&](const char* name) -> const char* {
            auto it = c.Environment.find(name);
            return it == c.Environment.end() ? nullptr : it->second.c_str();
        },
        [&] {
            ++resourceReads;
            return std::string(c.Resources ? c.Resources : "");
        },
        &ignored);
    EXPECT_EQ(choice.Scale, c.Scale);
    EXPECT_EQ(choice.Source, c.Source);
    EXPECT_EQ(static_cast<int>(ignored.size()), c.Ignored);
    for (const std::string& line : ignored) {
        EXPECT_EQ(line.find('\n'), std::string::npos) << "one line each: " << line;
        EXPECT_NE(line.find("ignored"), std::string::npos) << line;
    }
    if (std::string(c.Source) != "Xft.dpi" && std::string(c.Source) != "") {
        EXPECT_EQ(resourceReads, 0) << "the display is not asked when a variable decides";
    }
}

const char* const kDesktopResources =
    "Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n";

INSTANTIATE_TEST_SUITE_P(
    DisplayScale, ScaleChoice,
    ::testing::Values(
        TScaleCase{"Nothing", {}, nullptr, 1, "", 0},
        TScaleCase{"VarnelScale", {{"VARNEL_SCALE", "2"}}, kDesktopResources, 2, "VARNEL_SCALE", 0},
        TScaleCase{"VarnelScaleBeforeTheDesktop",
                   {{"VARNEL_SCALE", "1"}, {"GDK_SCALE", "3"}},
                   kDesktopResources,
                   1,
                   "VARNEL_SCALE",
                   0},
        TScaleCase{"VarnelScaleFour", {{"VARNEL_SCALE", "4"}}, nullptr, 4, "VARNEL_SCALE", 0},
        TScaleCase{"EmptyIsUnset", {{"VARNEL_SCALE", ""}, {"GDK_SCALE", "2"}}, nullptr, 2, "GDK_SCALE", 0},
        TScaleCase{"VarnelScaleTooLarge", {{"VARNEL_SCALE", "5"}}, nullptr, 1, "", 1},
        TScaleCase{"VarnelScaleZero", {{"VARNEL_SCALE", "0"}}, nullptr, 1, "", 1},
        TScaleCase{"VarnelScaleNegative", {{"VARNEL_SCALE", "-2"}}, nullptr, 1, "", 1},
        TScaleCase{"VarnelScaleFraction", {{"VARNEL_SCALE", "1.5"}}, nullptr, 1, "", 1},
        TScaleCase{
            "VarnelScaleWord", {{"VARNEL_SCALE", "big"}, {"GDK_SCALE", "2"}}, nullptr, 2, "GDK_SCALE", 1},
        TScaleCase{
            "VarnelScaleTrailingGarbage", {{"VARNEL_SCALE", "2x"}}, kDesktopResources, 2, "Xft.dpi", 1},
        TScaleCase{"GdkScale", {{"GDK_SCALE", "3"}, {"QT_SCALE_FACTOR", "2"}}, nullptr, 3, "GDK_SCALE", 0},
        TScaleCase{"GdkScaleAboveTheLargest", {{"GDK_SCALE", "6"}}, nullptr, 4, "GDK_SCALE", 0},
        TScaleCase{
            "GdkScaleZero", {{"GDK_SCALE", "0"}, {"QT_SCALE_FACTOR", "2"}}, nullptr, 2, "QT_SCALE_FACTOR", 1},
        TScaleCase{"QtWhole", {{"QT_SCALE_FACTOR", "2"}}, nullptr, 2, "QT_SCALE_FACTOR", 0},
        TScaleCase{"QtFractionRoundsDown", {{"QT_SCALE_FACTOR", "2.75"}}, nullptr, 2, "QT_SCALE_FACTOR", 0},
        TScaleCase{"QtBelowOne", {{"QT_SCALE_FACTOR", "0.5"}}, nullptr, 1, "QT_SCALE_FACTOR", 0},
        TScaleCase{"QtNotANumber", {{"QT_SCALE_FACTOR", "two"}}, kDesktopResources, 2, "Xft.dpi", 1},
        TScaleCase{"QtInfinite", {{"QT_SCALE_FACTOR", "inf"}}, nullptr, 1, "", 1},
        TScaleCase{"QtNegative", {{"QT_SCALE_FACTOR", "-1"}}, nullptr, 1, "", 1},
        TScaleCase{"XftDpi192", {}, kDesktopResources, 2, "Xft.dpi", 0},
        TScaleCase{"XftDpi288", {}, "Xft.dpi: 288\n", 3, "Xft.dpi", 0},
        TScaleCase{"XftDpiJustBelowTwo", {}, "Xft.dpi:\t191\n", 1, "Xft.dpi", 0},
        TScaleCase{"XftDpiFraction", {}, "Xft.dpi:\t192.5", 2, "Xft.dpi", 0},
        TScaleCase{"XftDpiVeryHigh", {}, "Xft.dpi:\t960\n", 4, "Xft.dpi", 0},
        TScaleCase{"XftDpiBroken", {}, "Xft.dpi:\tlarge\n", 1, "", 1},
        TScaleCase{"XftDpiZero", {}, "Xft.dpi:\t0\n", 1, "", 1},
        TScaleCase{"OnlyOtherResources", {}, "Xft.dpiX:\t192\nXcursor.size: 48\n", 1, "", 0},
        TScaleCase{"AllBroken",
                   {{"VARNEL_SCALE", "9"}, {"GDK_SCALE", "x"}, {"QT_SCALE_FACTOR", "y"}},
                   "Xft.dpi: z\n",
                   1,
                   "",
                   4}),
    [](const ::testing::TestParamInfo<TScaleCase>& info) { return std::string(info.param.Name); });

TEST(DisplayScale, AnIgnoredValueIsNamedWithTheVariable) {
    std::vector<std::string> ignored;
    ChooseDisplayScale(
        [](const char* name) -> const char* { return std::string(name) == "VARNEL_SCALE" ? "7" : nullptr; },
        nullptr, &ignored);
    ASSERT_EQ(ignored.size(), 1u);
    EXPECT_NE(ignored[0].find("VARNEL_SCALE=7"), std::string::npos) << ignored[0];
}

TEST(DisplayScale, ResourceValuesAreFoundByTheirWholeName) {
    EXPECT_EQ(XResourceValue("Xft.dpi:\t144\n", "Xft.dpi"), "144");
    EXPECT_EQ(XResourceValue("a: 1\n  Xft.dpi :  120  \r\nb: 2", "Xft.dpi"), "120");
    EXPECT_EQ(XResourceValue("Xft.dpiScale: 2\n", "Xft.dpi"), std::nullopt);
    EXPECT_EQ(XResourceValue("", "Xft.dpi"), std::nullopt);
    EXPECT_EQ(XResourceValue("no colon here\n", "no colon here"), std::nullopt);
}

TEST(DisplayScale, DevicePixelsMapToTheLogicalPixelHoldingThem) {
    const TDisplayScale two(2);
    EXPECT_EQ(two.ToLogical(0), 0);
    EXPECT_EQ(two.ToLogical(1), 0);
    EXPECT_EQ(two.ToLogical(2), 1);
    EXPECT_EQ(two.ToLogical(-1), -1) << "left of a window is outside it";
    EXPECT_EQ(two.ToLogical(-2), -1);
    EXPECT_EQ(two.ToLogical(-3), -2);
    EXPECT_EQ(TDisplayScale(3).ToLogical(TPoint{8, 9}), (TPoint{2, 3}));
    EXPECT_EQ(TDisplayScale(0).Factor(), 1);
    EXPECT_EQ(TDisplayScale(9).Factor(), 4);
    EXPECT_EQ(two.ToLogical(INT_MIN), INT_MIN / 2);

    // A work area keeps off every device pixel of a panel; a screen of odd size loses its last
    // half pixel.
    EXPECT_EQ(two.LogicalInside(Rect(0, 27, 2560, 2048)), Rect(0, 14, 1280, 1024));
    EXPECT_EQ(two.LogicalInside(Rect(-3, 0, 1367, 769)), Rect(-1, 0, 683, 384));

    EXPECT_EQ(two.ToDevice(Bounds(100, -20, 482, 481)), Bounds(200, -40, 964, 962));
    EXPECT_EQ(two.DeviceLength(0), 1) << "no platform makes an empty window";
    EXPECT_GT(TDisplayScale(4).ToDevice(INT_MAX), 1 << 20) << "saturated, not wrapped";
    EXPECT_LT(TDisplayScale(4).ToDevice(INT_MIN), -(1 << 20));
    const TRect huge = TDisplayScale(4).ToDevice(Rect(INT_MIN / 2, 0, INT_MAX / 2, 1));
    EXPECT_GT(huge.Width(), 0);
}

// Every device pixel of a block equals its logical pixel; nothing outside the copied area's
// blocks is written.
TEST(DisplayScale, BlitCopiesEachPixelAsABlockAndTouchesNothingElse) {
    TPixelBuffer source(7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            source.Set(x, y, static_cast<std::uint32_t>(0x010000 * x + 0x000100 * y + 0x11));
        }
    }
    constexpr std::uint32_t kUntouched = 0xDEADBEEF;
    for (int n = 1; n <= kMaxDisplayScale; ++n) {
        SCOPED_TRACE("scale " + std::to_string(n));
        const TDisplayScale scale(n);
        // A pitch wider than a row, as a window surface may have.
        const int width = 7 * n + 3;
        TPixelBuffer device(width, 5 * n, kUntouched);
        auto* target = reinterpret_cast<std::uint8_t*>(device.Pixels().data());
        const TRect area = Rect(2, 1, 6, 4);
        scale.Blit(source, Rect(2, 1, 6, 4), target, static_cast<std::ptrdiff_t>(width) * 4);
        scale.Blit(source, Rect(-5, -5, 0, 0), target, static_cast<std::ptrdiff_t>(width) * 4); // nothing
        int wrong = 0;
        for (int y = 0; y < device.Height(); ++y) {
            for (int x = 0; x < device.Width(); ++x) {
                const TPoint logical{x / n, y / n};
                const bool inside = x < 7 * n && area.Contains(logical);
                const std::uint32_t expected = inside ? source.At(logical.X, logical.Y) : kUntouched;
                wrong += device.At(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0);

        scale.Fill(Rect(0, 0, 1, 1), 0x00FF00, target, static_cast<std::ptrdiff_t>(width) * 4);
        EXPECT_EQ(device.At(n - 1, n - 1), 0x00FF00u);
        EXPECT_EQ(device.At(n, 0), kUntouched);
        EXPECT_EQ(device.At(0, n), kUntouched);
    }
}

} // namespace
