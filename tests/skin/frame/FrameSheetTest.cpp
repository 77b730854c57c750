#include "skin/menus/SUIMenu.h"
#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/menus/MenuTracker.h"

#include <gtest/gtest.h>

namespace {

// One picture for a person to judge the frame at a glance: a 482 × 481 skinned window with a
// menu bar in each look, active above and inactive below, and one with its menu open.
class FrameSheet : public TFrameFixture {
protected:
    static constexpr int kWindowWidth = 482;
    static constexpr int kWindowHeight = 481;
    static constexpr int kGap = 16;
    static constexpr int kLabel = 20;

    // A window of exactly 482 × 481 in the look: the panel is sized so that the border
    // arithmetic gives that host.
    TsuiForm* MakeWindow(TsuiUIStyle look) {
        TsuiForm* skin = MakeSkinnedHost(look, bsSingle, false, {20, 20});
        const int border = skin->BorderWidth();
        skin->SetWidth(kWindowWidth - 2 * border);
        skin->SetHeight(kWindowHeight - border - border / 2);
        auto* menu = new TsuiMainMenu(host);
        for (const char* caption : {"&File", "&Help"}) {
            auto* item = new TMenuItem(host);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        auto add = [&](int index, const char* caption, bool checked = false) {
            auto* item = new TMenuItem(host);
            item->SetCaption(caption);
            item->SetChecked(checked);
            menu->Items()->Items(index)->Add(item);
            return item;
        };
        add(0, "&Generate password");
        add(0, "&Copy to clipboard");
        add(0, "-");
        add(0, "&Variable length", true);
        add(0, "E&xit")->SetEnabled(false);
        add(1, "&About");
        menu->HookMenuItems(menu->Items());
        return skin;
    }

    void Paste(TBitmap& sheet, const TPixelBuffer& pixels, const TRect& from, TPoint to) {
        for (int y = from.Top; y < from.Bottom; ++y) {
            for (int x = from.Left; x < from.Right; ++x) {
                sheet.Pixels().Set(to.X + x - from.Left, to.Y + y - from.Top, pixels.At(x, y));
            }
        }
    }
};

TEST_F(FrameSheet, EveryLookActiveAndInactiveAndAnOpenMenu) {
    const int columns = 5;
    TBitmap sheet(kGap + columns * (kWindowWidth + kGap), kGap + 3 * (kLabel + kWindowHeight + kGap));
    sheet.Canvas()->Brush()->SetColor(0xFFFFFF);
    sheet.Canvas()->FillRect({0, 0, sheet.Width(), sheet.Height()});
    sheet.Canvas()->Font()->SetName("Tahoma");
    sheet.Canvas()->Font()->SetColor(0x000000);
    int column = 0;
    for (TsuiUIStyle look : kBuiltInUIStyles) {
        SCOPED_TRACE(kUIStyleNames[look]);
        TsuiForm* skin = MakeWindow(look);
        ShowForm(host);
        ASSERT_EQ(host->BoundsRect(), Bounds(20, 20, kWindowWidth, kWindowHeight));
        const int x = kGap + column * (kWindowWidth + kGap);
        const TPixelBuffer active = Presented(host->Handle());
        Paste(sheet, active, {0, 0, kWindowWidth, kWindowHeight}, {x, kGap + kLabel});
        sheet.Canvas()->TextOut(x, kGap, std::string(kUIStyleNames[look]) + ", active");

        // Another window takes the activation: the caption turns to the inactive colour.
        TForm* other = NewForm({900, 700, 1000, 800}, bsSingle);
        ShowForm(other);
        EXPECT_FALSE(skin->TitleBar()->FormActive());
        const TPixelBuffer inactive = Presented(host->Handle());
        const int y = kGap + kLabel + kWindowHeight + kGap;
        Paste(sheet, inactive, {0, 0, kWindowWidth, kWindowHeight}, {x, y + kLabel});
        sheet.Canvas()->TextOut(x, y, std::string(kUIStyleNames[look]) + ", inactive");
        bool captionDiffers = false;
        for (int row = 0; row < skin->TitleBar()->Height() && !captionDiffers; ++row) {
            for (int col = 30; col < 120; ++col) {
                captionDiffers = captionDiffers || active.At(col, row) != inactive.At(col, row);
            }
        }
        EXPECT_TRUE(captionDiffers);
        delete other;

        if (look == MacOS) {
            // The same window with its File menu open, as the screen shows it.
            ::SetActiveWindow(host->Handle());
            Pump();
            TToolButton* button = skin->MenuBar()->Buttons(0);
            const TPoint at = skin->MenuBar()->ClientToScreen({button->Left() + 5, button->Top() + 5});
            TPixelBuffer screen;
            DoWhenIdle([&] {
                // Over the second item, so that it shows highlighted.
                TRect second;
                GetOpenMenuItemRect(skin->Menu()->Items()->Items(0)->Items(1), second);
                InjectMove({second.Left + 10, second.Top + 5});
            });
            DoWhenIdle([&] {
                screen = Backend().ScreenPixels();
                EndMenu();
            });
            Click(at);
            ASSERT_FALSE(screen.Empty());
            const int row = kGap + 2 * (kLabel + kWindowHeight + kGap);
            Paste(sheet, screen, Bounds(20, 20, kWindowWidth, kWindowHeight), {kGap, row + kLabel});
            sheet.Canvas()->TextOut(kGap, row, "MacOS, File menu open");
        }
        delete host;
        ++column;
    }
    SaveArtifactPng("frames", sheet);
}

} // namespace
