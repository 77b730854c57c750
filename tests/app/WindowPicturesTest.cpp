// Pictures of the program's windows for a person to judge (with VARNEL_TEST_ARTIFACTS set): the
// main window at start and after generating, with each menu open, the About window and both
// message boxes of the copy command. The checks here are the few pixels whose colour is certain.

#include "tests/app/WindowFixture.h"
#include "toolkit/graphics/Bitmap.h"

namespace {

// The part of the screen inside area.
TPixelBuffer Crop(const TPixelBuffer& screen, const TRect& area) {
    TPixelBuffer part(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            part.Set(x, y, screen.At(area.Left + x, area.Top + y));
        }
    }
    return part;
}

class WindowPictures : public TVarnelWindowFixture {
protected:
    // The main window with whatever opened over it, a margin of the screen around.
    TPixelBuffer AroundMain() {
        const TRect main = Form1->BoundsRect();
        TRect area{main.Left - 10, main.Top - 10, main.Right + 10, main.Bottom + 10};
        area.Left = std::max(area.Left, 0);
        area.Top = std::max(area.Top, 0);
        return Crop(Backend().ScreenPixels(), area);
    }
};

TEST_F(WindowPictures, EveryWindowOfTheProgram) {
    Start();
    const TPixelBuffer& start = Presented(Form1->Handle());
    SaveArtifactPng("main-at-start", start);
    // The border, and the progress bar's frame, in the grey the layout gives them.
    EXPECT_EQ(start.At(0, 200), 0x7F7F7Fu);
    const TPoint bar = Form1->suiProgressBar1->ClientToScreen({0, 5});
    EXPECT_EQ(start.At(bar.X - Form1->Left(), bar.Y - Form1->Top()), 0x7F7F7Fu);

    ClickControl(Form1->suiButton4);
    Pump();
    const TPixelBuffer& generated = Presented(Form1->Handle());
    SaveArtifactPng("main-after-generating", generated);
    // The filled progress bar shows the look's progress picture at its middle.
    const TPoint filled = Form1->suiProgressBar1->ClientToScreen({180, 1});
    EXPECT_NE(generated.At(filled.X - Form1->Left(), filled.Y - Form1->Top()), 0xE7E7E7u);

    ChooseFromMenu(Form1->Exit1, [this] { SaveArtifactPng("main-file-menu", AroundMain()); });
    // Choosing Exit outside a running loop leaves the loop's end request; a fresh one follows.
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(WindowPictures, HelpMenuAboutAndMessageBoxes) {
    Start();
    ChooseFromMenu(
        Form1->About1, [this] { SaveArtifactPng("main-help-menu", AroundMain()); },
        [this] {
            SaveArtifactPng("about", Presented(Form2->Handle()));
            Form2->Close();
        });
    EXPECT_FALSE(Form2->Visible());
    AnswerNextBox("message-warning");
    ClickControl(Form1->suiButton3);
    ClickControl(Form1->suiButton4);
    AnswerNextBox("message-information");
    ClickControl(Form1->suiButton3);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Failed");
    EXPECT_EQ(boxes[1].caption, "Congratulation");
}

} // namespace
