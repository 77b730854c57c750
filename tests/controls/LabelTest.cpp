#include "toolkit/controls/Label.h"

#include "tests/support/ControlFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class LabelTest : public TControlFixture {
protected:
    TLabel* NewLabel(const std::string& caption) {
        form = NewForm();
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetCaption(caption);
        return label;
    }
    TForm* form = nullptr;
};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndFont) {
    TLabel* label = NewLabel("Short");
    const int shortWidth = label->Width();
    const int lineHeight = label->Height();
    EXPECT_GT(shortWidth, 0);
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->Width(), shortWidth);
    EXPECT_EQ(label->Height(), lineHeight);
    // An empty caption keeps the height of one line.
    label->SetCaption("");
    EXPECT_EQ(label->Height(), lineHeight);
    // The access-key mark takes no room.
    label->SetCaption("&Name");
    const int marked = label->Width();
    label->SetShowAccelChar(false);
    EXPECT_GT(label->Width(), marked);
    // A larger font, a larger label.
    label->Font()->SetHeight(-20);
    EXPECT_GT(label->Height(), lineHeight);
    EXPECT_FALSE(label->ParentFont());
}

TEST_F(LabelTest, AWrappingLabelWithAFixedWidthGrowsInHeight) {
    TLabel* label = NewLabel("x");
    const int lineHeight = label->Height();
    // As a message box's text label: exactly 225 wide, as high as its wrapped text.
    label->SetWordWrap(true);
    label->Constraints()->SetMinWidth(225);
    label->Constraints()->SetMaxWidth(225);
    label->SetCaption("one line");
    EXPECT_EQ(label->Width(), 225);
    EXPECT_EQ(label->Height(), lineHeight);
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "word ";
    }
    label->SetCaption(text);
    EXPECT_EQ(label->Width(), 225);
    EXPECT_GT(label->Height(), 2 * lineHeight);
    EXPECT_EQ(label->Height() % lineHeight, 0);
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdge) {
    TLabel* label = NewLabel("Text");
    label->SetAlignment(taRightJustify);
    label->SetLeft(100);
    const int right = label->Left() + label->Width();
    label->SetCaption("Longer text");
    EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, MouseEnterAndLeaveReachTheLabelsEvents) {
    TLabel* label = NewLabel("Link");
    label->SetLeft(50);
    label->SetTop(50);
    std::vector<std::string> log;
    label->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
    label->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
    ShowForm(form);
    MoveOver(label, 1, 1);
    MoveOver(form, 5, 5);
    EXPECT_THAT(log, ElementsAre("enter", "leave"));
}

} // namespace
