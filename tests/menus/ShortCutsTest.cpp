#include "toolkit/menus/ShortCuts.h"

#include "tests/support/ToolkitFixture.h"
#include "toolkit/components/Properties.h"
#include "toolkit/menus/MenuItem.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortCuts, TextNamesModifiersInClassicOrderThenTheKey) {
    EXPECT_EQ(ShortCutToText(ShortCut('X', scCtrl)), "Ctrl+X");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, scAlt | scShift | scCtrl)), "Shift+Ctrl+Alt+F1");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, scAlt)), "Alt+BkSp");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, 0)), "Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_NUMPAD0 + 7, scCtrl)), "Ctrl+Num 7");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_MINUS, scCtrl)), "Ctrl+-");
    // The classic stored value of Ctrl+X.
    EXPECT_EQ(ShortCut('X', scCtrl), 16472);
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_SHIFT, scCtrl)), "") << "a key without a name has no text";
}

TEST(ShortCuts, EveryNamedKeyReadsBackWithEveryModifierMix) {
    int named = 0;
    for (WORD key = 1; key <= 0xFF; ++key) {
        for (TShortCut modifiers :
             {TShortCut{0}, scShift, scCtrl, scAlt, TShortCut(scCtrl | scAlt | scShift)}) {
            const TShortCut shortCut = ShortCut(key, modifiers);
            const std::string text = ShortCutToText(shortCut);
            if (text.empty()) {
                continue;
            }
            ++named;
            EXPECT_EQ(TextToShortCut(text), shortCut) << text;
        }
    }
    EXPECT_GT(named, 5 * 90);
}

TEST(ShortCuts, TextIsReadWithoutRegardToCaseOrModifierOrder) {
    EXPECT_EQ(TextToShortCut("ctrl+shift+s"), ShortCut('S', scCtrl | scShift));
    EXPECT_EQ(TextToShortCut("ALT+F4"), ShortCut(VK_F4, scAlt));
    EXPECT_EQ(TextToShortCut("Ctrl+-"), ShortCut(VK_OEM_MINUS, scCtrl));
    EXPECT_EQ(TextToShortCut("Num +"), ShortCut(VK_ADD, 0));
    for (const char* bad : {"", "Ctrl+", "Ctrl+Nothing", "Hyper+X", "XX", "F25", "Ctrl X"}) {
        EXPECT_EQ(TextToShortCut(bad), 0) << bad;
    }
}

TEST(ShortCuts, LayoutsAndAccessByNameUseTheText) {
    RegisterShortCutNames();
    TMenuItem item(nullptr);
    ASSERT_TRUE(SetPropText(&item, "ShortCut", "Ctrl+X"));
    EXPECT_EQ(item.ShortCut(), ShortCut('X', scCtrl));
    EXPECT_EQ(GetPropText(&item, "ShortCut"), "Ctrl+X");
    ASSERT_TRUE(SetPropText(&item, "ShortCut", "16454"));
    EXPECT_EQ(item.ShortCut(), ShortCut('F', scCtrl));
    EXPECT_FALSE(SetPropText(&item, "ShortCut", "Ctrl+Nothing"));
    EXPECT_EQ(item.ShortCut(), ShortCut('F', scCtrl)) << "a refused value leaves the old one";
    ASSERT_TRUE(SetPropText(&item, "ShortCut", ""));
    EXPECT_EQ(item.ShortCut(), 0);
}

class ShortCutKeys : public TToolkitFixture {};

TEST_F(ShortCutKeys, AKeyMessageTakesShiftAndCtrlFromTheKeyboardAndAltFromItsData) {
    TWMKey key{WM_KEYDOWN, 'C', 0, 0};
    EXPECT_EQ(ShortCutFromKeyMessage(key), ShortCut('C', 0));
    KeyDown(VK_CONTROL);
    KeyDown(VK_SHIFT);
    EXPECT_EQ(ShortCutFromKeyMessage(key), ShortCut('C', scCtrl | scShift));
    key.KeyData = LPARAM{1} << 29;
    EXPECT_EQ(ShortCutFromKeyMessage(key), ShortCut('C', scCtrl | scShift | scAlt));
}

} // namespace
