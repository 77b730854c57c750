// The main window as a user drives it: the settings it starts with, the rules that keep the key
// boxes consistent, generating through the window, and copying the list.

#include "app/PasswordGenerator.h"
#include "app/ProductAddresses.h"
#include "tests/app/WindowFixture.h"
#include "toolkit/controls/ControlSubclass.h"

#include <algorithm>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class MainWindow : public TVarnelWindowFixture {
protected:
    // Logs each click event of the key boxes as "Name=checked" before the window's handler runs.
    void LogBoxClicks() {
        const std::pair<TsuiCheckBox*, const char*> boxes[] = {
            {Form1->suiCheckBox1, "All"},   {Form1->suiCheckBox2, "Numbers"}, {Form1->suiCheckBox3, "Lower"},
            {Form1->suiCheckBox4, "Upper"}, {Form1->suiCheckBox5, "Special"},
        };
        for (const auto& [box, name] : boxes) {
            TNotifyEvent handler = box->OnClick;
            box->OnClick = [this, box, name, handler](TObject* sender) {
                events.push_back(std::string(name) + "=" + (box->Checked() ? "1" : "0"));
                handler(sender);
            };
        }
        TNotifyEvent change = Form1->suiMemo1->OnChange;
        Form1->suiMemo1->OnChange = [this, change](TObject* sender) {
            events.push_back("Custom='" + Form1->suiMemo1->Text() + "'");
            change(sender);
        };
    }

    // Which of All, Numbers, Lower, Upper, Special are checked, as a string of 0 and 1.
    std::string Checked() const {
        std::string state;
        for (const TsuiCheckBox* box : {Form1->suiCheckBox1, Form1->suiCheckBox2, Form1->suiCheckBox3,
                                        Form1->suiCheckBox4, Form1->suiCheckBox5}) {
            state += box->Checked() ? '1' : '0';
        }
        return state;
    }

    void Generate() { ClickControl(Form1->suiButton4); }

    // What the engine makes of the same request from a fresh reproducible source.
    static std::vector<std::string> Expected(TGenerationRequest request) {
        TReproducibleRandomSource source;
        TPasswordGenerator generator(source);
        std::vector<std::string> lines;
        generator.Generate(request, [&](std::string_view line) {
            lines.emplace_back(line);
            return true;
        });
        return lines;
    }

    std::vector<std::string> events;
};

TEST_F(MainWindow, StartsWithTheLaidOutSettings) {
    Start();
    EXPECT_EQ(Checked(), "10000");
    EXPECT_FALSE(Form1->suiCheckBox6->Checked());
    EXPECT_EQ(Form1->suiMemo1->Text(), "");
    EXPECT_EQ(Form1->SuiSpinEdit1->Text(), "10");
    EXPECT_EQ(Form1->SuiSpinEdit2->Text(), "10");
    EXPECT_EQ(Form1->suiMemo2->Text(), "");
    EXPECT_EQ(Form1->suiProgressBar1->Position(), 0);
    EXPECT_EQ(Form1->Label4->Caption(), "");
    // Centred on the screen, 482 × 481, with the program's caption in the title bar and the window
    // list; the reproducible source says so.
    EXPECT_EQ(Form1->BoundsRect(),
              Bounds((Screen->Width() - 482) / 2, (Screen->Height() - 481) / 2, 482, 481));
    EXPECT_EQ(Form1->suiForm1->Caption(), "Varnel V1.0 (reproducible)");
    EXPECT_EQ(Form1->Caption(), "Varnel V1.0 (reproducible)");
    EXPECT_EQ(Application->MainForm(), Form1);
}

TEST_F(MainWindow, TheSystemSourceLeavesTheCaptionPlain) {
    TSystemRandomSource system;
    Start(&system);
    EXPECT_EQ(Form1->suiForm1->Caption(), "Varnel V1.0");
    EXPECT_FALSE(Form1->RandomSource().IsReproducible());
}

TEST_F(MainWindow, CheckingASetReplacesAllKeyboard) {
    Start();
    Form1->suiMemo1->SetText("");
    LogBoxClicks();
    ClickBox(Form1->suiCheckBox2);
    // "All keyboard" goes off, which unchecks every set and empties the custom characters; the
    // set's own handler then checks its box again.
    EXPECT_THAT(events, ElementsAre("Numbers=1", "All=0", "Numbers=0", "Numbers=1"));
    EXPECT_EQ(Checked(), "01000");
    EXPECT_EQ(Form1->suiMemo1->Text(), "");

    events.clear();
    ClickBox(Form1->suiCheckBox4);
    EXPECT_THAT(events, ElementsAre("Upper=1"));
    EXPECT_EQ(Checked(), "01010");

    events.clear();
    ClickBox(Form1->suiCheckBox2);
    EXPECT_THAT(events, ElementsAre("Numbers=0"));
    EXPECT_EQ(Checked(), "00010");

    // "All keyboard" either way leaves no set and no custom characters, and clearing them is not
    // the user's edit.
    Form1->suiMemo1->SetFocus();
    Type("xy");
    events.clear();
    ClickBox(Form1->suiCheckBox1);
    EXPECT_THAT(events, ElementsAre("All=1", "Upper=0", "Custom=''"));
    EXPECT_EQ(Checked(), "10000");
    EXPECT_EQ(Form1->suiMemo1->Text(), "");
    events.clear();
    ClickBox(Form1->suiCheckBox1);
    EXPECT_THAT(events, ElementsAre("All=0"));
    EXPECT_EQ(Checked(), "00000");
}

TEST_F(MainWindow, TheFirstEditOfTheCustomCharactersIsKept) {
    Start();
    LogBoxClicks();
    ClickControl(Form1->suiMemo1);
    Type("a");
    EXPECT_THAT(events, ElementsAre("Custom='a'", "All=0"));
    EXPECT_EQ(Form1->suiMemo1->Text(), "a");
    EXPECT_EQ(Checked(), "00000");
    Type("b");
    EXPECT_EQ(Form1->suiMemo1->Text(), "ab");
    EXPECT_EQ(Checked(), "00000");
    // The passwords are made of the typed characters alone.
    Generate();
    ASSERT_EQ(ResultLines().size(), 10u);
    for (const std::string& line : ResultLines()) {
        EXPECT_EQ(line.size(), 10u);
        EXPECT_EQ(line.find_first_not_of("ab"), std::string::npos) << line;
    }
}

TEST_F(MainWindow, GeneratesTheStartUpRequestFromTheReproducibleSource) {
    Start();
    Generate();
    const std::vector<std::string> lines = ResultLines();
    EXPECT_EQ(lines, Expected({}));
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 10u);
        for (char c : line) {
            EXPECT_TRUE(c >= 0x21 && c <= 0x7E) << line;
        }
    }
    EXPECT_EQ(Form1->Label4->Caption(), "10");
    EXPECT_EQ(Form1->suiProgressBar1->Position(), 100);
    EXPECT_THAT(boxes, IsEmpty());
    // The source goes on: the next list is another one.
    Generate();
    EXPECT_NE(ResultLines(), lines);
    EXPECT_EQ(ResultLines().size(), 10u);
}

TEST_F(MainWindow, ChosenSetsAndTheCountAndLengthTypedIn) {
    Start();
    ClickBox(Form1->suiCheckBox2);
    ClickBox(Form1->suiCheckBox4);
    TypeInto(Form1->SuiSpinEdit1, "25");
    TypeInto(Form1->SuiSpinEdit2, "7");
    Generate();
    TGenerationRequest request;
    request.AllKeys = false;
    request.Digits = true;
    request.UpperCaseLetters = true;
    request.Count = 25;
    request.BaseLength = 7;
    EXPECT_EQ(ResultLines(), Expected(request));
    EXPECT_EQ(Form1->Label4->Caption(), "25");
}

TEST_F(MainWindow, LengthZeroMakesEmptyLinesOrOneCharacterPasswords) {
    Start();
    TypeInto(Form1->SuiSpinEdit2, "0");
    TypeInto(Form1->SuiSpinEdit1, "4");
    Generate();
    EXPECT_THAT(ResultLines(), ElementsAre("", "", "", ""));
    EXPECT_EQ(Form1->suiMemo2->Text(), "\r\n\r\n\r\n");
    EXPECT_EQ(Form1->Label4->Caption(), "4");

    ClickBox(Form1->suiCheckBox6);
    Generate();
    ASSERT_EQ(ResultLines().size(), 4u);
    for (const std::string& line : ResultLines()) {
        EXPECT_EQ(line.size(), 1u);
    }
}

TEST_F(MainWindow, TheProgressBarStepsWithThePasswordsMade) {
    Start();
    std::vector<int> positions;
    TControlSubclass watch(Form1->suiProgressBar1, [&](UINT message, WPARAM, LPARAM, LRESULT previous) {
        if (message == WM_PAINT) {
            positions.push_back(Form1->suiProgressBar1->Position());
        }
        return previous;
    });
    TypeInto(Form1->SuiSpinEdit1, "3");
    Generate();
    EXPECT_EQ(Form1->suiProgressBar1->Position(), 100);
    positions.clear();
    Generate();
    // Painted as it moves: 0 when the list is cleared, then a third, two thirds, all.
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    EXPECT_THAT(positions, ElementsAre(0, 33, 66, 100));

    TypeInto(Form1->SuiSpinEdit1, "0");
    Generate();
    EXPECT_EQ(Form1->suiMemo2->Text(), "");
    EXPECT_EQ(Form1->suiProgressBar1->Position(), 100);
    EXPECT_EQ(Form1->Label4->Caption(), "0");
    // An empty box counts as 0.
    TypeInto(Form1->SuiSpinEdit1, "");
    Generate();
    EXPECT_EQ(Form1->Label4->Caption(), "0");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(MainWindow, RefusedRequestsSayWhyAndLeaveTheListEmpty) {
    Start();
    const auto expectRefused = [this](const std::string& what) {
        ASSERT_EQ(boxes.size(), 1u) << what;
        EXPECT_EQ(boxes[0].icon, TsuiIconType::suiWarning) << what;
        EXPECT_EQ(boxes[0].caption, "Failed") << what;
        EXPECT_FALSE(boxes[0].text.empty()) << what;
        EXPECT_EQ(Form1->suiMemo2->Text(), "") << what;
        EXPECT_EQ(Form1->suiProgressBar1->Position(), 100) << what;
        EXPECT_EQ(Form1->Label4->Caption(), "0") << what;
        boxes.clear();
    };
    // Nothing to draw from: no set, no characters of one's own. The list made before goes.
    Generate();
    ClickBox(Form1->suiCheckBox1);
    ASSERT_EQ(Checked(), "00000");
    AnswerNextBox();
    Generate();
    TGenerationRequest empty;
    empty.AllKeys = false;
    TCharacterPool pool;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, PrepareRequest(empty, pool).Error);
    expectRefused("empty pool");

    // A list too large to hold.
    ClickBox(Form1->suiCheckBox1);
    TypeInto(Form1->SuiSpinEdit1, "2000000000");
    TypeInto(Form1->SuiSpinEdit2, "1000");
    AnswerNextBox();
    Generate();
    expectRefused("too large");

    // A failing random source: whatever was made before the failure is dropped.
    class TFailingSource final : public TRandomSource {
    public:
        bool DrawBelow(uint32_t, std::span<uint32_t>) override {
            m_errorText = "The system's random number generator failed: Input/output error.";
            return false;
        }
        bool IsReproducible() const override { return false; }
    } failing;
    Form1->SetRandomSource(&failing);
    TypeInto(Form1->SuiSpinEdit1, "10");
    TypeInto(Form1->SuiSpinEdit2, "10");
    AnswerNextBox();
    Generate();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Input/output error"), std::string::npos);
    expectRefused("failing source");
    Form1->SetRandomSource(&reproducible);
}

TEST_F(MainWindow, CopyPutsTheWholeListOnTheClipboardByteForByte) {
    Start();
    // Nothing yet: a warning, and the clipboard is not touched.
    AnswerNextBox("copy-warning");
    ClickControl(Form1->suiButton3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, TsuiIconType::suiWarning);
    EXPECT_EQ(boxes[0].caption, "Failed");
    EXPECT_EQ(boxes[0].text, "Please press the 'Generate password' button first!");
    EXPECT_EQ(Backend().ClipboardWrites(), 0);

    Generate();
    // The user edits the list; the copy takes it as it stands.
    Form1->suiMemo2->SetFocus();
    PressKey(VK_END);
    Type("!");
    AnswerNextBox("copy-information");
    ClickControl(Form1->suiButton3);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].icon, TsuiIconType::suiInformation);
    EXPECT_EQ(boxes[1].caption, "Congratulation");
    EXPECT_EQ(boxes[1].text, "Copy password to clipboard ok!");
    const std::string text = Form1->suiMemo2->Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    EXPECT_EQ(Backend().Clipboard(), text);
    // The whole list stays selected.
    EXPECT_EQ(Form1->suiMemo2->SelStart(), 0);
    EXPECT_EQ(Form1->suiMemo2->SelLength(), Form1->suiMemo2->GetTextLen());
}

TEST_F(MainWindow, ARefusingClipboardIsReportedNotCelebrated) {
    Start();
    Generate();
    Backend().SetClipboardRefused(true);
    AnswerNextBox();
    ClickControl(Form1->suiButton3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, TsuiIconType::suiWarning);
    EXPECT_EQ(boxes[0].caption, "Failed");
    EXPECT_NE(boxes[0].text.find("clipboard"), std::string::npos);
    EXPECT_EQ(Backend().Clipboard(), "");
}

} // namespace
