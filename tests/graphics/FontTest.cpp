#include "toolkit/graphics/Font.h"

#include "toolkit/components/Component.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/graphics/Canvas.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Records every change notification with the state the font had when it fired.
struct TChangeLog {
    std::vector<std::string> entries;
    void Watch(TFont& font) {
        font.OnChange = [this](TObject* sender) {
            auto* f = dynamic_cast<TFont*>(sender);
            ASSERT_NE(f, nullptr);
            entries.push_back(f->Name() + "/" + std::to_string(f->Height()) + "/" +
                              std::to_string(f->Style().Bits()) + "/" + std::to_string(f->Color()) + "/" +
                              std::to_string(f->Charset()));
        };
    }
};

TEST(FontTest, StartsAsTheClassicEightPointWindowFont) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.PixelsPerInch(), 96);
    EXPECT_EQ(font.Metrics().Height, 13);
}

TEST(FontTest, SizeAndHeightConvertAtNinetySixDotsPerInch) {
    TFont font;
    struct TCase {
        int size;
        int height;
    };
    for (const TCase& c : {TCase{8, -11}, TCase{9, -12}, TCase{10, -13}, TCase{12, -16}, TCase{14, -19},
                           TCase{1, -1}, TCase{72, -96}}) {
        SCOPED_TRACE(c.size);
        font.SetSize(c.size);
        EXPECT_EQ(font.Height(), c.height);
        EXPECT_EQ(font.Size(), c.size);
    }
    // A positive height is a cell height; its size reads negative, as the classic toolkit has it.
    font.SetHeight(13);
    EXPECT_EQ(font.Size(), -10);
    font.SetHeight(-15); // 11.25 points
    EXPECT_EQ(font.Size(), 11);
    font.SetHeight(-14); // 10.5 points rounds away from zero
    EXPECT_EQ(font.Size(), 11);
    font.SetHeight(0);
    EXPECT_EQ(font.Size(), 0);
}

TEST(FontTest, EveryActualChangeNotifiesOnceAfterStoring) {
    TFont font;
    TChangeLog log;
    log.Watch(font);
    font.SetName("Tahoma");
    font.SetName("Tahoma");
    font.SetHeight(-13);
    font.SetSize(10); // the same height
    font.SetStyle({fsBold, fsUnderline});
    font.SetStyle({fsUnderline, fsBold});
    font.SetColor(clRed);
    font.SetColor(clRed);
    font.SetCharset(0);
    font.SetCharset(0);
    font.SetSize(8);
    const std::string bold = std::to_string(TFontStyles{fsBold, fsUnderline}.Bits());
    const std::string red = std::to_string(clRed);
    const std::vector<std::string> expected = {
        "Tahoma/-11/0/" + std::to_string(clWindowText) + "/1",
        "Tahoma/-13/0/" + std::to_string(clWindowText) + "/1",
        "Tahoma/-13/" + bold + "/" + std::to_string(clWindowText) + "/1",
        "Tahoma/-13/" + bold + "/" + red + "/1",
        "Tahoma/-13/" + bold + "/" + red + "/0",
        "Tahoma/-11/" + bold + "/" + red + "/0",
    };
    EXPECT_EQ(log.entries, expected);
}

TEST(FontTest, AssignCopiesEverythingWithOneNotification) {
    TFont source;
    source.SetName("Tahoma");
    source.SetHeight(-16);
    source.SetStyle({fsItalic, fsStrikeOut});
    source.SetColor(clBlue);
    source.SetCharset(0);

    TFont target;
    TChangeLog log;
    log.Watch(target);
    target.Assign(&source);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0], "Tahoma/-16/" + std::to_string(TFontStyles{fsItalic, fsStrikeOut}.Bits()) +
                                  "/" + std::to_string(clBlue) + "/0");
    EXPECT_EQ(target.Request(), source.Request());

    // Nothing differs, nothing is reported; the same holds for assigning a font to itself.
    target.Assign(&source);
    target.Assign(&target);
    EXPECT_EQ(log.entries.size(), 1u);

    // Assignment by value is an Assign: the target keeps its own listener.
    TFont other;
    target = other;
    EXPECT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(target.Name(), "MS Sans Serif");
    EXPECT_TRUE(static_cast<bool>(target.OnChange));

    // A copy carries the values but not the listener.
    const TFont copy(source);
    EXPECT_EQ(copy.Request(), source.Request());
    EXPECT_EQ(copy.Color(), clBlue);
    EXPECT_FALSE(static_cast<bool>(copy.OnChange));
}

TEST(FontTest, RequestCarriesWhatTheEngineNeeds) {
    TFont font;
    font.SetName("Tahoma");
    font.SetSize(10);
    font.SetStyle({fsBold});
    font.SetColor(clRed); // colour is the canvas's business
    const TFontRequest request = font.Request();
    EXPECT_EQ(request.Name, "Tahoma");
    EXPECT_EQ(request.Height, -13);
    EXPECT_EQ(request.Style, TFontStyles{fsBold});
    EXPECT_EQ(font.Metrics().Height, TFontEngine::Instance().Metrics(request).Height);
}

TEST(FontTest, ChangingTheFontFromItsOwnHandlerKeepsTheLastValue) {
    // A handler that changes the font again gets a second, nested notification and the final
    // value wins; the setter must not overwrite it after firing.
    TFont font;
    int calls = 0;
    font.OnChange = [&](TObject*) {
        ++calls;
        if (font.Height() == -13) {
            font.SetHeight(-16);
        }
    };
    font.SetHeight(-13);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(font.Height(), -16);
}

// A component that publishes a font, a pen and a brush, as controls and shapes do.
class TDrawingHolder : public TComponent {
    VARNEL_CLASS(TDrawingHolder, TComponent)

public:
    explicit TDrawingHolder(TComponent* owner) : TComponent(owner) {}
    TFont* Font() const { return m_font.get(); }
    void SetFont(const TFont* value) { m_font->Assign(value); }
    TPen* Pen() const { return m_pen.get(); }
    void SetPen(const TPen* value) { m_pen->Assign(value); }
    TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(const TBrush* value) { m_brush->Assign(value); }

private:
    std::unique_ptr<TFont> m_font = std::make_unique<TFont>();
    std::unique_ptr<TPen> m_pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> m_brush = std::make_unique<TBrush>();
};

// The lines of a written layout between the object's first and last line.
std::vector<std::string> BodyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    if (lines.size() < 2) {
        return {};
    }
    return {lines.begin() + 1, lines.end() - 1};
}

} // namespace

VARNEL_CLASS_INFO(TDrawingHolder, [](auto& c) {
    c.Object("Font", &TDrawingHolder::Font, &TDrawingHolder::SetFont);
    c.Object("Pen", &TDrawingHolder::Pen, &TDrawingHolder::SetPen);
    c.Object("Brush", &TDrawingHolder::Brush, &TDrawingHolder::SetBrush);
})

namespace {

TEST(FontLayout, PublishesTheClassicPropertiesInTheirOrder) {
    std::vector<std::string> names;
    for (const TPropInfo* p : TFont::StaticClassInfo().Properties()) {
        names.push_back(p->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Size", "Style"}));
}

TEST(FontLayout, AFreshHolderWritesNothingOfItsFontPenOrBrush) {
    TDrawingHolder holder(nullptr);
    holder.SetName("Holder1");
    EXPECT_EQ(WriteLayoutText(&holder), "object Holder1: TDrawingHolder\nend\n");
}

TEST(FontLayout, StoredValuesLoadAndOnlyWhatDiffersFromTheDefaultsIsWrittenBack) {
    TDrawingHolder holder(nullptr);
    const TStatus read = ReadLayoutText(&holder,
                                        "object Holder1: TDrawingHolder\n"
                                        "  Font.Charset = DEFAULT_CHARSET\n"
                                        "  Font.Color = clRed\n"
                                        "  Font.Height = -11\n"
                                        "  Font.Name = 'Tahoma'\n"
                                        "  Font.Style = [fsBold, fsUnderline]\n"
                                        "  Pen.Color = clBlue\n"
                                        "  Pen.Style = psDot\n"
                                        "  Pen.Width = 3\n"
                                        "  Brush.Color = clBtnFace\n"
                                        "  Brush.Style = bsClear\n"
                                        "end\n",
                                        "holder.lfm");
    ASSERT_TRUE(read) << read.Message();
    const TFont& font = *holder.Font();
    EXPECT_EQ(font.Name(), "Tahoma");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(holder.Pen()->Color(), clBlue);
    EXPECT_EQ(holder.Pen()->Style(), psDot);
    EXPECT_EQ(holder.Pen()->Width(), 3);
    EXPECT_EQ(holder.Brush()->Color(), clBtnFace);
    EXPECT_EQ(holder.Brush()->Style(), bsClear);

    const std::string written = WriteLayoutText(&holder);
    EXPECT_EQ(BodyLines(written), (std::vector<std::string>{
                                      "  Font.Color = clRed",
                                      "  Font.Name = 'Tahoma'",
                                      "  Font.Style = [fsBold, fsUnderline]",
                                      "  Pen.Color = clBlue",
                                      "  Pen.Style = psDot",
                                      "  Pen.Width = 3",
                                      "  Brush.Color = clBtnFace",
                                      "  Brush.Style = bsClear",
                                  }));

    TDrawingHolder again(nullptr);
    ASSERT_TRUE(ReadLayoutText(&again, written, "again.lfm"));
    EXPECT_EQ(again.Font()->Request(), font.Request());
    EXPECT_EQ(again.Font()->Color(), clRed);
    EXPECT_EQ(WriteLayoutText(&again), written);
}

TEST(FontLayout, SizeIsReadIntoHeightAndNeverWritten) {
    TDrawingHolder holder(nullptr);
    ASSERT_TRUE(ReadLayoutText(&holder, "object H: TDrawingHolder\n  Font.Size = 10\nend\n", "size.lfm"));
    EXPECT_EQ(holder.Font()->Height(), -13);
    EXPECT_EQ(BodyLines(WriteLayoutText(&holder)), (std::vector<std::string>{"  Font.Height = -13"}));
}

TEST(FontLayout, CharacterSetsGoByTheirNamesAndUnknownNamesAreRefused) {
    TDrawingHolder holder(nullptr);
    ASSERT_TRUE(ReadLayoutText(&holder, "object H: TDrawingHolder\n  Font.Charset = RUSSIAN_CHARSET\nend\n",
                               "cs.lfm"));
    EXPECT_EQ(holder.Font()->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(BodyLines(WriteLayoutText(&holder)),
              (std::vector<std::string>{"  Font.Charset = RUSSIAN_CHARSET"}));
    ASSERT_TRUE(SetPropText(&holder, "Font.Charset", "ansi_charset"));
    EXPECT_EQ(GetPropText(&holder, "Font.Charset"), "ANSI_CHARSET");
    ASSERT_TRUE(SetPropText(&holder, "Font.Charset", "100")); // a set without a name keeps its number
    EXPECT_EQ(GetPropText(&holder, "Font.Charset"), "100");

    TDrawingHolder other(nullptr);
    const TStatus refused = ReadLayoutText(
        &other, "object H: TDrawingHolder\n  Font.Charset = KLINGON_CHARSET\nend\n", "bad.lfm");
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.Message().find("KLINGON_CHARSET"), std::string::npos) << refused.Message();
    EXPECT_EQ(other.Font()->Charset(), DEFAULT_CHARSET);
}

} // namespace
