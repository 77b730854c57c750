#include "StandIns.h"

#include <gtest/gtest.h>

namespace {

class THiddenBase : public TPersistent {
    VARNEL_CLASS(THiddenBase, TPersistent)

public:
    int Hidden() const { return m_hidden; }
    void SetHidden(int v) { m_hidden = v; }
    int Shown() const { return 1; }

private:
    int m_hidden = 0;
};

class THiddenDerived : public THiddenBase {
    VARNEL_CLASS(THiddenDerived, THiddenBase)
};

// Publishes names from classic component sets that no ancestor here declares.
class TForeignNames : public THiddenBase {
    VARNEL_CLASS(TForeignNames, THiddenBase)
};

std::vector<std::string> PropertyNames(const TClassInfo& cls) {
    std::vector<std::string> names;
    for (const TPropInfo* p : cls.Properties()) {
        names.push_back(p->Name());
    }
    return names;
}

class PropertiesByName : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestIdents();
        widget = new TWidget(&window);
        widget->SetName("Widget1");
        other = new TWidget(&window);
        other->SetName("Other");
    }

    // Sets a value and reads it back as text.
    std::string RoundTrip(const char* path, const char* text) {
        TStatus s = SetPropText(widget, path, text);
        EXPECT_TRUE(s) << path << " = " << text << ": " << s.Message();
        return GetPropText(widget, path).value_or("<none>");
    }
    std::string Refusal(const char* path, const char* text) {
        TStatus s = SetPropText(widget, path, text);
        EXPECT_FALSE(s) << path << " = " << text;
        return s.Message();
    }

    TTestWindow window{nullptr};
    TWidget* widget = nullptr;
    TWidget* other = nullptr;
};

} // namespace

VARNEL_CLASS_INFO(THiddenBase, [](auto& c) {
    c.Int("Hidden", &THiddenBase::Hidden, &THiddenBase::SetHidden).Unpublished();
    c.Int("Shown", &THiddenBase::Shown);
})
VARNEL_CLASS_INFO(THiddenDerived, [](auto& c) { c.Publish("Hidden").Default(0); })
VARNEL_CLASS_INFO(TForeignNames, [](auto& c) {
    c.Publish("DragMode").Default(0);
    c.Publish("Hidden");
    c.Publish("ImeMode").Stored(false);
    c.Publish("OnStartDock");
})

TEST(PublishedProperties, ComeInDeclarationOrderWithInheritedOnesFirst) {
    const std::vector<std::string> widget = {
        "Name",     "Tag",   "Look",   "Color", "Caption", "Width", "Checked", "Enabled", "Marks",   "Cursor",
        "ShortCut", "Ratio", "Secret", "Font",  "Lines",   "Items", "Buddy",   "Spin",    "OnClick", "OnKey"};
    EXPECT_EQ(PropertyNames(TWidget::StaticClassInfo()), widget);
    // The window class adds fields and handlers, which are no properties.
    EXPECT_EQ(PropertyNames(TTestWindow::StaticClassInfo()), widget);

    // Publishing an inherited property again moves it to where the subclass declares it.
    std::vector<std::string> fancy = widget;
    fancy.erase(std::find(fancy.begin(), fancy.end(), "Width"));
    fancy.push_back("Glow");
    fancy.push_back("Width");
    EXPECT_EQ(PropertyNames(TFancyWidget::StaticClassInfo()), fancy);
    // ... with its own default, leaving the ancestor's as it was.
    EXPECT_TRUE(TFancyWidget::StaticClassInfo().FindProperty("Width")->HasDefault());
    EXPECT_FALSE(TWidget::StaticClassInfo().FindProperty("Width")->HasDefault());
}

TEST(PublishedProperties, UnpublishedOnesStayHiddenUntilASubclassPublishesThem) {
    THiddenBase base;
    THiddenDerived derived;
    EXPECT_FALSE(HasProperty(&base, "Hidden"));
    EXPECT_TRUE(HasProperty(&base, "Shown"));
    EXPECT_TRUE(HasProperty(&derived, "hidden"));
    EXPECT_EQ(PropertyNames(THiddenDerived::StaticClassInfo()),
              (std::vector<std::string>{"Shown", "Hidden"}));
    EXPECT_FALSE(SetPropText(&base, "Hidden", "3"));
    ASSERT_TRUE(SetPropText(&derived, "Hidden", "3"));
    EXPECT_EQ(derived.Hidden(), 3);
}

TEST(PublishedProperties, NamesNoAncestorDeclaresAreLeftOutWithoutStoppingTheProgram) {
    EXPECT_EQ(PropertyNames(TForeignNames::StaticClassInfo()), (std::vector<std::string>{"Shown", "Hidden"}));
    TForeignNames object;
    EXPECT_FALSE(HasProperty(&object, "DragMode"));
    EXPECT_FALSE(SetPropText(&object, "ImeMode", "1"));
    ASSERT_TRUE(SetPropText(&object, "Hidden", "4"));
    EXPECT_EQ(object.Hidden(), 4);
}

TEST(PublishedProperties, HasPropertyFindsPublishedNamesIgnoringCase) {
    TWidget w(nullptr);
    TGadget g(nullptr);
    EXPECT_TRUE(HasProperty(&w, "Look"));
    EXPECT_TRUE(HasProperty(&w, "LOOK"));
    EXPECT_TRUE(HasProperty(&w, "OnClick"));
    EXPECT_FALSE(HasProperty(&g, "Look"));
    EXPECT_FALSE(HasProperty(&w, "Font.Name")); // only the object's own properties
    EXPECT_FALSE(HasProperty(&w, ""));
    EXPECT_FALSE(HasProperty(nullptr, "Look"));
}

TEST(PublishedProperties, StoredDefaultsDecideWhatIsWritten) {
    TWidget w(nullptr);
    TFancyWidget f(nullptr);
    const TClassInfo& cls = TWidget::StaticClassInfo();
    EXPECT_TRUE(cls.FindProperty("Enabled")->IsDefaultValue(&w));
    w.SetEnabled(false);
    EXPECT_FALSE(cls.FindProperty("Enabled")->IsDefaultValue(&w));
    EXPECT_TRUE(cls.FindProperty("Caption")->IsDefaultValue(&w));
    EXPECT_FALSE(cls.FindProperty("Width")->IsDefaultValue(&w)); // no default: always written
    EXPECT_TRUE(TFancyWidget::StaticClassInfo().FindProperty("Width")->IsDefaultValue(&f) == false);
    f.SetWidth(5);
    EXPECT_TRUE(TFancyWidget::StaticClassInfo().FindProperty("Width")->IsDefaultValue(&f));
    EXPECT_FALSE(cls.FindProperty("Secret")->IsStored(&w));
    EXPECT_FALSE(cls.FindProperty("Name")->IsStored(&w)); // the object header carries the name
    EXPECT_TRUE(cls.FindProperty("Buddy")->IsDefaultValue(&w));
}

TEST_F(PropertiesByName, IntegersAcceptDecimalAndHexWithinTheirTypeRange) {
    EXPECT_EQ(RoundTrip("Width", "42"), "42");
    EXPECT_EQ(RoundTrip("Width", "$2A"), "42");
    EXPECT_EQ(RoundTrip("width", "-7"), "-7");
    EXPECT_EQ(widget->Width(), -7);
    EXPECT_EQ(Refusal("Width", "99999999999"), "Value 99999999999 out of range for property Width");
    EXPECT_EQ(Refusal("Width", "ten"), "Invalid value \"ten\" for property Width");
    EXPECT_EQ(Refusal("ShortCut", "70000"), "Value 70000 out of range for property ShortCut");
    EXPECT_EQ(widget->Width(), -7);
}

TEST_F(PropertiesByName, BooleansEnumerationsAndSetsUseValueNames) {
    EXPECT_EQ(RoundTrip("Enabled", "false"), "False");
    EXPECT_EQ(RoundTrip("Look", "macos"), "MacOS");
    EXPECT_EQ(widget->Look(), TLook::MacOS);
    EXPECT_EQ(RoundTrip("Marks", "[mkUnderline, mkBold]"), "[mkBold, mkUnderline]");
    EXPECT_EQ(widget->Marks(), (TMarks{mkBold, mkUnderline}));
    EXPECT_EQ(RoundTrip("Marks", "[]"), "[]");
    EXPECT_EQ(Refusal("Enabled", "Yes"), "Invalid value \"Yes\" for property Enabled");
    EXPECT_EQ(Refusal("Look", "Aqua"), "Invalid value \"Aqua\" for property Look");
    EXPECT_EQ(Refusal("Marks", "[mkBold, mkShadow]"), "Invalid value \"mkShadow\" for property Marks");
    EXPECT_EQ(Refusal("Marks", "mkBold"), "Invalid value \"mkBold\" for property Marks");
    EXPECT_EQ(widget->Marks(), TMarks{});
}

TEST_F(PropertiesByName, StringsAndFloatsKeepTheirValues) {
    EXPECT_EQ(RoundTrip("Caption", "It's [not] a set"), "It's [not] a set");
    EXPECT_EQ(RoundTrip("Caption", ""), "");
    EXPECT_EQ(RoundTrip("Ratio", "2.5"), "2.5");
    EXPECT_EQ(RoundTrip("Ratio", "3"), "3.0");
    EXPECT_DOUBLE_EQ(widget->Ratio(), 3.0);
    Refusal("Ratio", "'2'");
}

TEST_F(PropertiesByName, ColoursAndCursorsTakeNamesOrNumbers) {
    EXPECT_EQ(RoundTrip("Color", "clRed"), "clRed");
    EXPECT_EQ(widget->Color(), 0x0000FF);
    EXPECT_EQ(RoundTrip("Color", "255"), "clRed"); // a named value reads by its name
    EXPECT_EQ(RoundTrip("Color", "8355711"), "8355711");
    EXPECT_EQ(RoundTrip("Color", "clbtnface"), "clBtnFace");
    EXPECT_EQ(RoundTrip("Color", "$FFFFFFFF"), "-1"); // a bit pattern fits a 32-bit colour
    EXPECT_EQ(Refusal("Color", "clMauve"), "Invalid value \"clMauve\" for property Color");
    EXPECT_EQ(RoundTrip("Cursor", "crHandPoint"), "crHandPoint");
    EXPECT_EQ(widget->Cursor(), -21);
    // An integer can be given names of its own, like a character set.
    EXPECT_EQ(RoundTrip("Font.Charset", "ansi_charset"), "ANSI_CHARSET");
    EXPECT_EQ(RoundTrip("Font.Charset", "77"), "77");
    EXPECT_EQ(Refusal("Font.Charset", "256"), "Value 256 out of range for property Charset");
    EXPECT_EQ(Refusal("Width", "ANSI_CHARSET"), "Invalid value \"ANSI_CHARSET\" for property Width");
}

TEST_F(PropertiesByName, ShortCutsUseTheRegisteredTextConverters) {
    EXPECT_EQ(RoundTrip("ShortCut", "16451"), "16451");
    RegisterShortCutText(
        [](std::int64_t v) { return v == 16449 ? std::string("Ctrl+A") : std::to_string(v); },
        [](std::string_view t) -> std::optional<std::int64_t> {
            if (t == "Ctrl+A") {
                return 16449;
            }
            return std::nullopt;
        });
    EXPECT_EQ(RoundTrip("ShortCut", "Ctrl+A"), "Ctrl+A");
    EXPECT_EQ(widget->ShortCut(), 16449);
    RegisterShortCutText(nullptr, nullptr);
    EXPECT_EQ(GetPropText(widget, "ShortCut"), "16449");
}

TEST_F(PropertiesByName, SubObjectPartsAreReachedByDottedPaths) {
    EXPECT_EQ(GetPropText(widget, "Font"), "TTestFont");
    EXPECT_EQ(RoundTrip("Font.Name", "Tahoma"), "Tahoma");
    EXPECT_EQ(RoundTrip("Font.Style", "[mkBold]"), "[mkBold]");
    EXPECT_EQ(widget->Font()->Name(), "Tahoma");
    EXPECT_EQ(Refusal("Font", "Tahoma"), "Property Font is set part by part, not from text");
    EXPECT_EQ(Refusal("Font.Colour", "1"), "Unknown property \"Colour\" of TTestFont");
    EXPECT_EQ(Refusal("Width.Name", "1"), "Property Width of TWidget has no parts");
    EXPECT_EQ(Refusal("Nothing", "1"), "Unknown property \"Nothing\" of TWidget");
    EXPECT_EQ(Refusal("Spin", "1"), "Property Spin is read-only");
    EXPECT_FALSE(GetPropText(widget, "Font.Nothing").has_value());
}

TEST_F(PropertiesByName, ReferencesNameComponentsOfTheSameOwner) {
    EXPECT_EQ(RoundTrip("Buddy", "other"), "Other");
    EXPECT_EQ(widget->Buddy(), other);
    EXPECT_EQ(RoundTrip("Buddy", "nil"), "");
    EXPECT_EQ(widget->Buddy(), nullptr);
    EXPECT_EQ(Refusal("Buddy", "Stranger"), "Unknown component \"Stranger\" for property Buddy");
    auto* gadget = new TGadget(&window);
    gadget->SetName("Gadget1");
    EXPECT_EQ(Refusal("Buddy", "Gadget1"), "Property Buddy takes a TWidget, not a TGadget");
}

TEST_F(PropertiesByName, EventsBindToTheWindowsHandlersBySignature) {
    EXPECT_EQ(RoundTrip("OnClick", "button1click"), "Button1Click");
    widget->SetChecked(true);
    EXPECT_EQ(window.clicks, std::vector<std::string>{"Widget1"});
    EXPECT_EQ(RoundTrip("OnKey", "PanelKey"), "PanelKey");
    int key = 13;
    widget->OnKey(widget, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(Refusal("OnClick", "PanelKey"), "Handler \"PanelKey\" does not fit event OnClick");
    EXPECT_EQ(Refusal("OnClick", "Missing"), "Unknown handler \"Missing\" for event OnClick");
    EXPECT_EQ(GetPropText(widget, "OnClick"), "Button1Click"); // unchanged by the refusals
    // A handler assigned in code has no name to store.
    widget->OnClick = [](TObject*) {};
    EXPECT_EQ(GetPropText(widget, "OnClick"), "");
    EXPECT_TRUE(TWidget::StaticClassInfo().FindProperty("OnClick")->IsEventAssigned(widget));
    EXPECT_EQ(RoundTrip("OnClick", ""), "");
    EXPECT_FALSE(widget->OnClick);
}
