#include "PanelsTestSupport.h"
#include "skin/controls/SUIGroupBox.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/controls/Label.h"
#include "toolkit/graphics/Canvas.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

// A window holding a group box with a nested group box and a label, made from a layout.
class TGroupWindow : public TForm {
    VARNEL_CLASS(TGroupWindow, TForm)

public:
    explicit TGroupWindow(TComponent* owner) : TForm(owner) {}
    TsuiGroupBox* suiGroupBox1 = nullptr;
    TsuiGroupBox* suiGroupBox2 = nullptr;
    TLabel* Label1 = nullptr;
};

VARNEL_CLASS_INFO(TGroupWindow, [](auto& c) {
    c.Field("suiGroupBox1", &TGroupWindow::suiGroupBox1);
    c.Field("suiGroupBox2", &TGroupWindow::suiGroupBox2);
    c.Field("Label1", &TGroupWindow::Label1);
})

namespace {

class GroupBoxTest : public TPanelsFixture {
protected:
    void SetUp() override {
        form = ShownForm(kFormColor);
        group = new TsuiGroupBox(form);
        group->SetParent(form);
        group->SetBounds(10, 10, 185, 105);
        group->SetCaption("Keys");
        Pump();
    }

    int LineY() const { return std::abs(group->Font()->Height()) / 2 + 1; }
    int CaptionWidth() {
        TBitmap scratch(1, 1);
        scratch.Canvas()->SetFont(group->Font());
        return scratch.Canvas()->TextWidth(group->Caption());
    }
    TRect CaptionArea() {
        TBitmap scratch(1, 1);
        scratch.Canvas()->SetFont(group->Font());
        return Bounds(5, 0, CaptionWidth(), scratch.Canvas()->TextHeight("Wg"));
    }

    static constexpr TColor kFormColor = 0x00A0B0C0;
    TForm* form = nullptr;
    TsuiGroupBox* group = nullptr;
};

struct TGroupLook {
    TsuiUIStyle Style;
    TColor Frame;
    TColor Caption;
};

class GroupBoxLooks : public GroupBoxTest, public ::testing::WithParamInterface<TGroupLook> {};

TEST_P(GroupBoxLooks, TheFrameAndCaptionTakeTheLooksColoursWithTheCaptionInAGapOfTheTopLine) {
    const TGroupLook look = GetParam();
    group->SetUIStyle(look.Style);
    Pump();
    EXPECT_EQ(group->BorderColor(), look.Frame);
    EXPECT_EQ(group->Font()->Color(), look.Caption);
    const int y = LineY();
    const int w = group->Width();
    const int h = group->Height();
    const std::uint32_t frame = Px(look.Frame);
    const std::uint32_t back = Px(kFormColor);
    EXPECT_TRUE(AllPixels(group, {0, y, 1, h}, frame)) << "left side";
    EXPECT_TRUE(AllPixels(group, {0, h - 1, w, h}, frame)) << "bottom";
    EXPECT_TRUE(AllPixels(group, {w - 1, y, w, h}, frame)) << "right side";
    // A two-pixel stub left of the caption, then the gap, then the line again to the right.
    EXPECT_TRUE(AllPixels(group, {1, y, 3, y + 1}, frame)) << "stub";
    const int gapEnd = 6 + CaptionWidth();
    EXPECT_EQ(PixelAt(group, 3, y), back);
    EXPECT_EQ(PixelAt(group, gapEnd, y), back);
    EXPECT_TRUE(AllPixels(group, {gapEnd + 1, y, w - 1, y + 1}, frame)) << "top line after the gap";
    EXPECT_EQ(PixelAt(group, 1, y + 1), back) << "inside";
    EXPECT_EQ(PixelAt(group, 0, y - 1), back) << "above the frame";
    EXPECT_GT(CountPixels(group, CaptionArea(), Px(look.Caption)), 0) << "caption text";
}

INSTANTIATE_TEST_SUITE_P(AllLooks, GroupBoxLooks,
                         ::testing::Values(TGroupLook{MacOS, 0x7F7F7F, 0x000000},
                                           TGroupLook{WinXP, 0x686868, 0xCF4602},
                                           TGroupLook{DeepBlue, 0x000000, 0x000000},
                                           TGroupLook{Protein, 0x000000, 0x000000},
                                           TGroupLook{BlueGlass, 0x000000, 0x000000}));

TEST_F(GroupBoxTest, ANewGroupBoxIsEmptyOfTextOnItsOwnAndSizedAsTheClassicOne) {
    auto* fresh = new TsuiGroupBox(form);
    EXPECT_EQ(fresh->Width(), 185);
    EXPECT_EQ(fresh->Height(), 105);
    EXPECT_EQ(fresh->Caption(), "");
    EXPECT_EQ(fresh->Text(), " ");
    EXPECT_TRUE(fresh->ParentColor());
    EXPECT_FALSE(fresh->Transparent());
    EXPECT_EQ(fresh->UIStyle(), DeepBlue); // no skinned form on the window
}

TEST_F(GroupBoxTest, AnEmptyCaptionClosesTheTopLine) {
    group->SetUIStyle(WinXP);
    group->SetCaption("");
    Pump();
    EXPECT_TRUE(AllPixels(group, {0, LineY(), group->Width(), LineY() + 1}, Px(0x686868)));
}

TEST_F(GroupBoxTest, DisablingGreysTheCaptionAndDisablesEveryDirectChild) {
    group->SetUIStyle(WinXP);
    auto* inner = new TsuiImagePanel(form);
    inner->SetParent(group);
    inner->SetBounds(10, 30, 100, 50);
    auto* label = new TLabel(form);
    label->SetParent(inner);
    group->SetEnabled(false);
    Pump();
    EXPECT_FALSE(inner->Enabled());
    EXPECT_TRUE(label->Enabled()) << "grandchildren are the inner group's own";
    EXPECT_GT(CountPixels(group, CaptionArea(), Px(0x808080)), 0);
    EXPECT_EQ(CountPixels(group, CaptionArea(), Px(0xCF4602)), 0);
    group->SetEnabled(true);
    Pump();
    EXPECT_TRUE(inner->Enabled());
    EXPECT_GT(CountPixels(group, CaptionArea(), Px(0xCF4602)), 0);
}

TEST_F(GroupBoxTest, AlignedChildrenStayInsideTheFrameBelowTheCaption) {
    auto* child = new TsuiGroupBox(form);
    child->SetParent(group);
    child->SetAlign(alClient);
    const int fh = std::abs(group->Font()->Height());
    EXPECT_EQ(child->BoundsRect(), TRect(3, fh + 5, 185 - 3, 105 - 3));
    // A larger font pushes them down.
    group->Font()->SetHeight(-20);
    EXPECT_EQ(child->BoundsRect(), TRect(3, 25, 185 - 3, 105 - 3));
}

TEST_F(GroupBoxTest, ALookReachesTheSkinnedChildrenAndTheirChildren) {
    auto* inner = new TsuiGroupBox(form);
    inner->SetParent(group);
    auto* innermost = new TsuiGroupBox(form);
    innermost->SetParent(inner);
    auto* label = new TLabel(form);
    label->SetParent(group);
    label->Font()->SetColor(0x123456);
    group->SetUIStyle(WinXP);
    EXPECT_EQ(inner->UIStyle(), WinXP);
    EXPECT_EQ(innermost->UIStyle(), WinXP);
    EXPECT_EQ(innermost->BorderColor(), TColor{0x686868});
    EXPECT_EQ(label->Font()->Color(), TColor{0x123456});
}

TEST_F(GroupBoxTest, AThemeFileGivesFrameAndCaptionColoursAndItsRemovalTurnsEverythingDeepBlue) {
    auto* theme = new TsuiFileTheme(form);
    TTempThemeFile file;
    file.Writer.AddInteger("ControlBorderColor", 0x0000FF);
    file.Writer.AddInteger("ControlFontColor", 0x00FF00);
    file.LoadInto(theme);
    auto* inner = new TsuiGroupBox(form);
    inner->SetParent(group);
    group->SetUIStyle(FromThemeFile);
    group->SetFileTheme(theme);
    EXPECT_EQ(group->BorderColor(), TColor{0x0000FF});
    EXPECT_EQ(group->Font()->Color(), TColor{0x00FF00});
    EXPECT_EQ(inner->FileTheme(), theme);
    EXPECT_EQ(inner->BorderColor(), TColor{0x0000FF});
    Pump();
    EXPECT_EQ(PixelAt(group, 0, group->Height() - 1), Px(0x0000FF));

    delete theme;
    EXPECT_EQ(group->FileTheme(), nullptr);
    EXPECT_EQ(group->UIStyle(), DeepBlue);
    EXPECT_EQ(inner->FileTheme(), nullptr);
    EXPECT_EQ(inner->UIStyle(), DeepBlue);
    EXPECT_EQ(group->BorderColor(), TColor{0x000000});
    Pump();
    EXPECT_EQ(PixelAt(group, 0, group->Height() - 1), Px(0x000000));
}

TEST_F(GroupBoxTest, ASeeThroughGroupBoxShowsItsParentInsideTheFrame) {
    auto* holder = new TsuiImagePanel(form);
    holder->SetParent(form);
    holder->SetBounds(200, 10, 200, 120);
    holder->SetColor(0x00336699);
    group->SetParent(holder);
    group->SetBounds(5, 5, 150, 100);
    group->SetParentColor(false);
    group->SetColor(0x00FFFFFF);
    group->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelAt(group, 40, 60), Px(0x00336699));
    group->SetTransparent(false);
    Pump();
    EXPECT_EQ(PixelAt(group, 40, 60), Px(0x00FFFFFF));
}

TEST_F(GroupBoxTest, AGroupBoxLoadedDisabledDisablesItsChildren) {
    auto* window = new TGroupWindow(Application);
    const char* layout = "object GroupWindow: TGroupWindow\n"
                         "  object suiGroupBox1: TsuiGroupBox\n"
                         "    Caption = 'Length'\n"
                         "    Enabled = False\n"
                         "    UIStyle = WinXP\n"
                         "    object suiGroupBox2: TsuiGroupBox\n"
                         "      Caption = 'Inner'\n"
                         "    end\n"
                         "    object Label1: TLabel\n"
                         "      Caption = 'Count'\n"
                         "    end\n"
                         "  end\n"
                         "end\n";
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(window, layout, "Group.lfm", &error)) << error.Text();
    ASSERT_NE(window->suiGroupBox2, nullptr);
    EXPECT_FALSE(window->suiGroupBox1->Enabled());
    EXPECT_FALSE(window->suiGroupBox2->Enabled());
    EXPECT_FALSE(window->Label1->Enabled());
    EXPECT_EQ(window->suiGroupBox1->Caption(), "Length");
}

} // namespace
