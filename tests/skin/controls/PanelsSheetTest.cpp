#include "PanelsTestSupport.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIImagePanel.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/controls/SUITrackBar.h"
#include "tests/support/Artifacts.h"

#include <gtest/gtest.h>

// One picture of the scroll bars, the track bar, the memo with linked bars, the group box with
// skinned children and the image panel in each of the five looks, for a person to judge at a
// glance (written when VARNEL_TEST_ARTIFACTS is set). The test also checks the sizes the looks
// give the parts.

namespace {

class PanelsSheet : public TPanelsFixture {};

TEST_F(PanelsSheet, EveryLookSideBySide) {
    constexpr int kColumn = 230;
    TForm* form = NewForm({0, 0, 5 * kColumn + 10, 320});
    form->SetColor(0x00E0E0E0);
    int left = 10;
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        auto* vertical = new TsuiScrollBar(form);
        vertical->SetParent(form);
        vertical->SetOrientation(suiVertical);
        vertical->SetUIStyle(style);
        vertical->SetBounds(left, 10, 16, 160);
        vertical->SetMax(50);
        vertical->SetPosition(20);
        vertical->SetPageSize(30);

        auto* horizontal = new TsuiScrollBar(form);
        horizontal->SetParent(form);
        horizontal->SetUIStyle(style);
        horizontal->SetBounds(left + 30, 10, 180, 16);
        horizontal->SetPosition(70);

        auto* track = new TsuiTrackBar(form);
        track->SetParent(form);
        track->SetUIStyle(style);
        track->SetBounds(left + 30, 40, 180, 30);
        track->SetPosition(3);

        auto* group = new TsuiGroupBox(form);
        group->SetParent(form);
        group->SetBounds(left + 30, 80, 180, 90);
        group->SetCaption("Keys");
        auto* check = new TsuiCheckBox(form);
        check->SetParent(group);
        check->SetBounds(10, 20, 150, 20);
        check->SetCaption("Digits");
        check->SetChecked(true);
        auto* image = new TsuiImagePanel(form);
        image->SetParent(group);
        image->SetBounds(10, 45, 150, 30);
        TBitmap tile;
        GetBuiltInThemeBitmap(style, TsuiThemeElement::ProgressBarImage, &tile);
        TPicture picture;
        picture.SetGraphic(&tile);
        image->SetPicture(&picture);
        image->SetDrawStyle(suiTile);
        group->SetUIStyle(style);
        EXPECT_EQ(check->UIStyle(), style);

        auto* memo = new TsuiMemo(form);
        memo->SetParent(form);
        memo->SetBounds(left + 30, 185, 180, 110);
        memo->SetWordWrap(false);
        auto* memoV = new TsuiScrollBar(form);
        memoV->SetParent(form);
        auto* memoH = new TsuiScrollBar(form);
        memoH->SetParent(form);
        memo->SetVScrollBar(memoV);
        memo->SetHScrollBar(memoH);
        memo->SetUIStyle(style);
        for (int i = 0; i < 40; ++i) {
            memo->Lines()->Add("Password " + std::to_string(i) + std::string(i % 7 * 4, 'x'));
        }
        memo->SetSelStart(0);
        left += kColumn;
    }
    ShowForm(form);
    SaveArtifactPng("sheet", Presented(form->Handle()));
    SaveArtifactPng("memo-zoom", Enlarged(Presented(form->Handle()), Bounds(150, 175, 90, 125), 6));
    for (int i = 0; i < 5; ++i) {
        SaveArtifactPng("zoom" + std::to_string(i),
                        Enlarged(Presented(form->Handle()), Bounds(i * kColumn, 0, kColumn, 300), 3));
    }
}

} // namespace
