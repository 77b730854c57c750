#include "toolkit/components/LayoutReader.h"

#include "StandIns.h"

#include <gtest/gtest.h>

namespace {

// Checks itself once loaded, which must not count as a click.
class TAutoCheck : public TWidget {
    VARNEL_CLASS(TAutoCheck, TWidget)

public:
    explicit TAutoCheck(TComponent* owner) : TWidget(owner) {}
    void Loaded() override {
        TWidget::Loaded();
        SetChecked(true);
    }
};

const char* const kWindow = R"(object Window1: TTestWindow
  Caption = 'Main'
  object Panel1: TWidget
    Width = 1
    Color = clRed
    Look = MacOS
    Width = 100
    Buddy = Button1
    Checked = True
    OnClick = Button1Click
    OnKey = PanelKey
    object Button1: TAutoCheck
      Caption = 'Go'
      OnClick = Button1Click
      Font.Style = [mkBold]
      Font.Name = 'Tahoma'
      Lines.Strings = (
        'first'
        'second')
      Items = <
        item
          Caption = 'a'
          Target = Panel1
        end
        item
          Width = 3
          Picture.Data = {50 01 02}
          Picture.Resource = 'MACOS_BUTTON'
        end>
    end
  end
  object Gadget1: TGadget
    Partner = Gadget1
  end
end
)";

class LayoutReader : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestIdents();
        RegisterClasses<TAutoCheck, TWidget, TGadget, TTestWindow, TTestFont>();
        Log().clear();
    }

    // Loads text that must fail, and checks that nothing is left behind.
    TLayoutError Failure(const std::string& text) {
        TLayoutError error;
        TStatus s = ReadLayoutText(&window, text, "Unit9.lfm", &error);
        EXPECT_FALSE(s) << text;
        EXPECT_EQ(s.Message(), error.Text());
        EXPECT_EQ(window.ComponentCount(), 0) << text;
        EXPECT_EQ(window.panel1, nullptr);
        EXPECT_EQ(window.button1, nullptr);
        EXPECT_FALSE(window.IsLoading());
        return error;
    }

    TTestWindow window{nullptr};
};

} // namespace

VARNEL_CLASS_INFO(TAutoCheck)

TEST_F(LayoutReader, CreatesTheTreeInFileOrderOwnedByTheWindowAndNestedByParent) {
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(&window, kWindow, "Unit9.lfm", &error)) << error.Text();
    EXPECT_EQ(window.Name(), "Window1");
    ASSERT_EQ(window.ComponentCount(), 3);
    EXPECT_EQ(window.Components(0)->Name(), "Panel1");
    EXPECT_EQ(window.Components(1)->Name(), "Button1");
    EXPECT_EQ(window.Components(2)->Name(), "Gadget1");
    EXPECT_EQ(window.Components(1)->ClassName(), "TAutoCheck");
    // The form's fields name its components.
    ASSERT_NE(window.panel1, nullptr);
    EXPECT_EQ(window.button1, window.Components(1));
    EXPECT_EQ(window.gadget1, window.Components(2));
    EXPECT_EQ(window.panel1->Parent(), &window);
    EXPECT_EQ(window.button1->Parent(), window.panel1);
    EXPECT_EQ(window.Children(), std::vector<TWidget*>{window.panel1});
}

TEST_F(LayoutReader, AppliesValuesInPublishedOrderThenBindsThenCallsLoaded) {
    ASSERT_TRUE(ReadLayoutText(&window, kWindow, "Unit9.lfm"));
    const std::vector<std::string> expected = {
        "Window1.Caption",
        // Look comes before Color in the class, so the stored colour overrides the look's; of
        // the two widths the later one wins.
        "Panel1.Look", "Panel1.Color", "Panel1.Width", "Panel1.Width", "Panel1.Checked", "Button1.Caption",
        // References are bound once every component exists (Button1 is created after Panel1).
        "Panel1.Buddy",
        // Loaded runs on the window and then on each component in creation order.
        "Window1.Loaded", "Panel1.Loaded", "Button1.Loaded", "Button1.Checked"};
    EXPECT_EQ(Log(), expected);
    TWidget& panel = *window.panel1;
    EXPECT_EQ(panel.Color(), 0x0000FF);
    EXPECT_EQ(panel.Look(), TLook::MacOS);
    EXPECT_EQ(panel.Width(), 100);
    EXPECT_EQ(panel.Buddy(), window.button1);
}

TEST_F(LayoutReader, SetsSubObjectsListsCollectionsAndCustomData) {
    ASSERT_TRUE(ReadLayoutText(&window, kWindow, "Unit9.lfm"));
    TWidget& button = *window.button1;
    EXPECT_EQ(button.Font()->Name(), "Tahoma");
    EXPECT_EQ(button.Font()->Style(), TMarks{mkBold});
    EXPECT_EQ(button.Lines()->Text(), "first\r\nsecond");
    ASSERT_EQ(button.Items()->Count(), 2);
    EXPECT_EQ(button.Items()->Items(0)->Caption(), "a");
    EXPECT_EQ(button.Items()->Items(0)->Target(), window.panel1);
    EXPECT_EQ(button.Items()->Items(1)->Width(), 3);
    EXPECT_EQ(button.Items()->Items(1)->Picture()->bytes,
              (std::vector<std::byte>{std::byte{'P'}, std::byte{1}, std::byte{2}}));
    EXPECT_EQ(button.Items()->Items(1)->Picture()->resource, "MACOS_BUTTON");
    EXPECT_EQ(window.gadget1->Partner(), window.gadget1);
}

TEST_F(LayoutReader, KeepsEveryComponentLoadingUntilAllAreLoadedSoNoEventFires) {
    ASSERT_TRUE(ReadLayoutText(&window, kWindow, "Unit9.lfm"));
    // Panel1 was checked, and Button1 checked itself in Loaded, with handlers bound: no click.
    EXPECT_TRUE(window.clicks.empty());
    EXPECT_EQ(window.panel1->loadingSeen, (std::vector<bool>{true, true})); // Look, then Loaded
    for (int i = 0; i < window.ComponentCount(); ++i) {
        EXPECT_FALSE(window.Components(i)->IsLoading());
        EXPECT_FALSE(window.Components(i)->ComponentState().Contains(csReading));
    }
    EXPECT_FALSE(window.IsLoading());
    window.panel1->SetChecked(false);
    window.button1->SetChecked(false);
    EXPECT_EQ(window.clicks, (std::vector<std::string>{"Panel1", "Button1"}));
    int key = 65;
    window.panel1->OnKey(window.panel1, key);
    EXPECT_EQ(key, 0);
}

TEST_F(LayoutReader, CreatesTheRootFromTheClassTheLayoutNames) {
    TComponent application(nullptr);
    TLayoutError error;
    TComponent* made = CreateFromLayoutText(kWindow, "Unit9.lfm", &application, &error);
    ASSERT_NE(made, nullptr) << error.Text();
    EXPECT_EQ(made->ClassName(), "TTestWindow");
    EXPECT_EQ(made->Owner(), &application);
    EXPECT_EQ(made->ComponentCount(), 3);

    EXPECT_EQ(CreateFromLayoutText("object X: TNoSuchWindow\nend", "x.lfm", &application, &error), nullptr);
    EXPECT_EQ(error.Text(), "x.lfm, line 1: Unknown class \"TNoSuchWindow\"");
    EXPECT_EQ(
        CreateFromLayoutText("object X: TTestWindow\n  Look = Aqua\nend", "x.lfm", &application, &error),
        nullptr);
    EXPECT_EQ(application.ComponentCount(), 1); // only the first window
}

TEST_F(LayoutReader, ReadsFromStreamsAndReportsMissingResources) {
    TStringStream stream(kWindow);
    ASSERT_TRUE(ReadLayoutStream(&window, stream, "stream"));
    EXPECT_EQ(window.ComponentCount(), 3);

    TTestWindow other(nullptr);
    TLayoutError error;
    EXPECT_FALSE(ReadLayoutResource(&other, "NO_SUCH_LAYOUT", &error));
    EXPECT_EQ(error.Text(), "NO_SUCH_LAYOUT.lfm: Layout resource NO_SUCH_LAYOUT not found");
}

TEST_F(LayoutReader, EveryKindOfErrorNamesItsLineAndWordAndLeavesNothingBehind) {
    struct TCase {
        std::string body; // placed from line 3 on, inside Panel1
        int line;
        std::string word;
        std::string message;
    };
    const TCase cases[] = {
        {"object X1: TNoSuch\nend", 3, "TNoSuch", "Unknown class \"TNoSuch\""},
        {"object X1: TTestFont\nend", 3, "TTestFont", "Class \"TTestFont\" cannot be created in a layout"},
        {"Colour = 1", 3, "Colour", "Unknown property \"Colour\" of TWidget"},
        {"Look = Aqua", 3, "Aqua", "Invalid value \"Aqua\" for property Look"},
        {"Caption = 12", 3, "12", "Invalid value \"12\" for property Caption"},
        {"Width = 'wide'", 3, "wide", "Invalid value \"wide\" for property Width"},
        {"Marks = [mkBold, mkNone]", 3, "[mkBold, mkNone]", "Invalid value \"mkNone\" for property Marks"},
        {"Width = 4294967296", 3, "4294967296", "Value 4294967296 out of range for property Width"},
        {"Buddy = Nobody", 3, "Nobody", "Unknown component \"Nobody\" for property Buddy"},
        {"Buddy = Gadget1", 3, "Gadget1", "Component Gadget1 is a TGadget; property Buddy takes a TWidget"},
        {"OnClick = Missing", 3, "Missing", "Unknown handler \"Missing\" for event OnClick"},
        {"OnClick = PanelKey", 3, "PanelKey", "Handler \"PanelKey\" does not fit event OnClick"},
        {"Spin = 3", 3, "Spin", "Property Spin is read-only"},
        {"Font = 3", 3, "Font", "Property Font is stored part by part (Font.Name = ...), not as \"3\""},
        {"Width.Height = 3", 3, "Width", "Property Width of TWidget has no parts"},
        // The second of two equal names is the one in error.
        {"object Gadget1: TGadget\nend", 8, "Gadget1", "A component named Gadget1 already exists"},
        {"object Button1: TGadget\nend", 3, "TGadget",
         "Component Button1 is a TGadget, but the window expects a TWidget"},
        // Found only when the sub-object or item is at hand, after components were created:
        {"Font.Colour = 1", 3, "Colour", "Unknown property \"Colour\" of TTestFont"},
        {"Items = <\n item\n Nope = 1\n end>", 5, "Nope", "Unknown property \"Nope\" of TTestItem"},
        {"Items = <\n item\n Picture.Data = {00}\n end>", 5, "Data", "Picture data is not a picture"},
        {"Items = <\n item\n Target = Gadget1\n end>", 5, "Gadget1",
         "Component Gadget1 is a TGadget; property Target takes a TWidget"},
    };
    for (const TCase& c : cases) {
        std::string text = "object Window1: TTestWindow\n  object Panel1: TWidget\n" + c.body +
                           "\n  end\n  object Late: TWidget\n  end\n  object Gadget1: TGadget\n  end\nend\n";
        TLayoutError e = Failure(text);
        EXPECT_EQ(e.file, "Unit9.lfm");
        EXPECT_EQ(e.line, c.line) << c.body;
        EXPECT_EQ(e.word, c.word) << c.body;
        EXPECT_EQ(e.message, c.message) << c.body;
    }
}

TEST_F(LayoutReader, RootMismatchAndSyntaxErrorsAreReportedToo) {
    EXPECT_EQ(Failure("object W: TGadget\nend").Text(),
              "Unit9.lfm, line 1: The layout describes a TGadget, not a TTestWindow");
    // A layout of an ancestor class loads into a descendant.
    TTestWindow other(nullptr);
    EXPECT_TRUE(ReadLayoutText(&other, "object W: TWidget\n  Width = 2\nend", "a.lfm"));
    EXPECT_EQ(other.Width(), 2);
    EXPECT_EQ(Failure("object W: TTestWindow\n  Width = \nend").Text(),
              "Unit9.lfm, line 3: Unexpected \"end\"; expected a value");
}

TEST_F(LayoutReader, AFailedLoadKeepsTheWindowsOwnComponents) {
    auto* existing = new TWidget(&window);
    existing->SetName("Existing");
    TLayoutError error;
    EXPECT_FALSE(ReadLayoutText(
        &window, "object W: TTestWindow\n  object Panel1: TWidget\n    Font.Colour = 1\n  end\nend", "x.lfm",
        &error));
    ASSERT_EQ(window.ComponentCount(), 1);
    EXPECT_EQ(window.Components(0), existing);
    // A layout naming an existing component fails on the name, and removes what it made.
    EXPECT_FALSE(
        ReadLayoutText(&window,
                       "object W: TTestWindow\n  object Panel1: TWidget\n  end\n  object Existing: TWidget\n"
                       "  end\nend",
                       "x.lfm", &error));
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(error.message, "A component named Existing already exists");
    EXPECT_EQ(window.ComponentCount(), 1);
}

TEST_F(LayoutReader, RefusesMoreComponentsThanAnyWindowNeeds) {
    std::string text = "object W: TTestWindow\n";
    for (int i = 0; i <= TLayoutLimits().maxComponents; ++i) {
        text += "  object TGadget\n  end\n";
    }
    text += "end\n";
    TLayoutError e = Failure(text);
    EXPECT_EQ(e.line, 2 + 2 * TLayoutLimits().maxComponents);
    EXPECT_EQ(e.message, "Too many components in one layout (more than 4096)");
}
