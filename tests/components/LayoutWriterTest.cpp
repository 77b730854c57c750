#include "toolkit/components/LayoutWriter.h"

#include "StandIns.h"
#include "toolkit/components/LayoutReader.h"

#include <gtest/gtest.h>

namespace {

// A composite control whose inner parts are its own business, as a spin edit's buttons are.
class TSealed : public TWidget {
    VARNEL_CLASS(TSealed, TWidget)

public:
    explicit TSealed(TComponent* owner) : TWidget(owner) {}
    void GetChildren(const std::function<void(TComponent*)>&, TComponent*) override {}
};

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos || text.rfind(line + "\n", 0) == 0;
}

class LayoutWriter : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestIdents();
        RegisterClasses<TSealed, TWidget, TGadget, TTestWindow>();
        window.SetName("Window1");
    }
    TTestWindow window{nullptr};
};

} // namespace

VARNEL_CLASS_INFO(TSealed)

TEST_F(LayoutWriter, LeavesOutDefaultsUnstoredAndReadOnlyValues) {
    auto* panel = new TWidget(&window);
    panel->SetName("Panel1");
    panel->SetParent(&window);
    panel->SetSecret(42);
    std::string text = WriteLayoutText(&window);
    // Properties without a default are always written; those at their default are not.
    EXPECT_EQ(text, "object Window1: TTestWindow\n"
                    "  Look = DeepBlue\n"
                    "  Color = clBlack\n"
                    "  Width = 0\n"
                    "  Items = <>\n"
                    "  object Panel1: TWidget\n"
                    "    Look = DeepBlue\n"
                    "    Color = clBlack\n"
                    "    Width = 0\n"
                    "    Items = <>\n"
                    "  end\n"
                    "end\n");
    panel->SetEnabled(false);
    panel->SetCaption("It's");
    panel->SetRatio(0.5);
    panel->Font()->SetStyle({mkItalic});
    panel->SetColor(8355711);
    text = WriteLayoutText(&window);
    EXPECT_TRUE(HasLine(text, "    Caption = 'It''s'"));
    EXPECT_TRUE(HasLine(text, "    Enabled = False"));
    EXPECT_TRUE(HasLine(text, "    Ratio = 0.5"));
    EXPECT_TRUE(HasLine(text, "    Font.Style = [mkItalic]"));
    EXPECT_TRUE(HasLine(text, "    Color = 8355711"));
    EXPECT_EQ(text.find("Secret"), std::string::npos);
    EXPECT_EQ(text.find("Spin"), std::string::npos);
    EXPECT_EQ(text.find("Font.Name"), std::string::npos);
}

TEST_F(LayoutWriter, WritesOnlyTheChildrenEachComponentReports) {
    auto* sealed = new TSealed(&window);
    sealed->SetName("Spin1");
    sealed->SetParent(&window);
    auto* inner = new TWidget(&window);
    inner->SetName("InnerButton");
    inner->SetParent(sealed);
    auto* gadget = new TGadget(&window);
    gadget->SetName("Gadget1");
    TComponent elsewhere(nullptr);
    auto* foreign = new TWidget(&elsewhere);
    foreign->SetName("Foreign");
    foreign->SetParent(&window); // parented here, owned by another window
    std::string text = WriteLayoutText(&window);
    EXPECT_NE(text.find("object Spin1: TSealed"), std::string::npos);
    EXPECT_NE(text.find("object Gadget1: TGadget"), std::string::npos);
    EXPECT_EQ(text.find("InnerButton"), std::string::npos);
    EXPECT_EQ(text.find("Foreign"), std::string::npos);
    foreign->SetParent(nullptr);
}

TEST_F(LayoutWriter, StoresOnlyReferencesAndHandlersThatCanBeReadBack) {
    auto* panel = new TWidget(&window);
    panel->SetName("Panel1");
    panel->SetParent(&window);
    TComponent elsewhere(nullptr);
    auto* foreign = new TWidget(&elsewhere);
    foreign->SetName("Foreign");
    panel->SetBuddy(foreign);
    panel->OnClick = [](TObject*) {}; // assigned in code: no name
    std::string text = WriteLayoutText(&window);
    EXPECT_EQ(text.find("Buddy"), std::string::npos);
    EXPECT_EQ(text.find("OnClick"), std::string::npos);
    ASSERT_TRUE(SetPropText(panel, "Buddy", "Window1"));
    ASSERT_TRUE(SetPropText(panel, "OnClick", "Button1Click"));
    text = WriteLayoutText(&window);
    EXPECT_TRUE(HasLine(text, "    Buddy = Window1"));
    EXPECT_TRUE(HasLine(text, "    OnClick = Button1Click"));
}

TEST_F(LayoutWriter, ReadingWhatWasWrittenGivesTheSameValues) {
    const char* source = R"(object Window1: TTestWindow
  Caption = 'Line'#13#10'break'
  OnKey = PanelKey
  object Panel1: TWidget
    Look = MacOS
    Color = clRed
    Width = 100
    Checked = True
    Marks = [mkBold, mkUnderline]
    Cursor = crHandPoint
    ShortCut = 16451
    Ratio = 2.25
    Buddy = Button1
    OnClick = Button1Click
    object Button1: TWidget
      Font.Name = 'Tahoma'
      Font.Height = -13
      Font.Color = clRed
      Font.Charset = ANSI_CHARSET
      Lines.Strings = (
        'first'
        ''
        'third')
      Items = <
        item
          Caption = 'a'
          Target = Panel1
        end
        item
          Width = 3
          Picture.Data = {500102}
        end
        item
          Picture.Resource = 'MACOS_BUTTON'
        end>
    end
  end
  object Gadget1: TGadget
    Partner = Gadget1
  end
end
)";
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(&window, source, "src.lfm", &error)) << error.Text();
    std::string written = WriteLayoutText(&window);

    TTestWindow copy(nullptr);
    ASSERT_TRUE(ReadLayoutText(&copy, written, "written.lfm", &error)) << error.Text() << "\n" << written;
    EXPECT_EQ(WriteLayoutText(&copy), written);
    TWidget& panel = *copy.panel1;
    EXPECT_EQ(copy.Caption(), "Line\r\nbreak");
    EXPECT_EQ(panel.Marks(), (TMarks{mkBold, mkUnderline}));
    EXPECT_EQ(panel.Cursor(), -21);
    EXPECT_EQ(panel.Buddy(), copy.button1);
    EXPECT_DOUBLE_EQ(panel.Ratio(), 2.25);
    EXPECT_EQ(copy.button1->Lines()->Count(), 3);
    EXPECT_EQ(copy.button1->Font()->Height(), -13);
    EXPECT_EQ(copy.button1->Font()->Charset(), 0);
    EXPECT_NE(written.find("Font.Charset = ANSI_CHARSET"), std::string::npos);
    ASSERT_EQ(copy.button1->Items()->Count(), 3);
    EXPECT_EQ(copy.button1->Items()->Items(0)->Target(), copy.panel1);
    EXPECT_EQ(copy.button1->Items()->Items(1)->Picture()->bytes.size(), 3u);
    EXPECT_EQ(copy.button1->Items()->Items(2)->Picture()->resource, "MACOS_BUTTON");
    EXPECT_EQ(copy.gadget1->Partner(), copy.gadget1);
    TMemoryStream stream;
    ASSERT_TRUE(WriteLayoutStream(&copy, stream));
    EXPECT_EQ(std::string(stream.Text()), written);

    panel.SetChecked(false);
    EXPECT_EQ(copy.clicks, std::vector<std::string>{"Panel1"});
}
