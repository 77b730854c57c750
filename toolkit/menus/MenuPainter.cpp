#include "toolkit/menus/MenuPainter.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace {

// The gutter holds a check mark or an image with this much room on either side.
constexpr int kGutterPad = 5;
constexpr int kCheckGlyphSize = 13;
constexpr int kMinItemHeight = 19;

// 7 × 7 check mark and 6 × 6 radio dot, drawn in the text colour.
constexpr std::array<std::string_view, 7> kCheckGlyph = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};
constexpr std::array<std::string_view, 6> kRadioGlyph = {
    ".####.", "######", "######", "######", "######", ".####.",
};

bool IsAsciiAlnum(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

char32_t Fold(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
}

struct TAutoKey {
    char32_t Key = 0;
    std::size_t Offset = 0; // byte offset in the caption where the "&" goes
};

// Automatic access keys: first the initials of words, then any letter or digit, each taking a
// key no item of the list has yet.
std::vector<TAutoKey> AssignAutomatic(const std::vector<const TMenuItem*>& items) {
    std::vector<TAutoKey> keys(items.size());
    std::unordered_set<char32_t> used;
    auto candidate = [](const TMenuItem* item) {
        return item && item->Visible() && !item->IsLine() && GetHotkey(item->Caption()) == 0;
    };
    for (const TMenuItem* item : items) {
        if (item && item->Visible() && !item->IsLine()) {
            if (char32_t own = GetHotkey(item->Caption())) {
                used.insert(Fold(own));
            }
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!candidate(items[i]) || keys[i].Key != 0) {
                continue;
            }
            const std::string& caption = items[i]->Caption();
            bool wordStart = true;
            for (std::size_t offset = 0; offset < caption.size();) {
                char32_t c = 0;
                const std::size_t next = DecodeUtf8(caption, offset, c);
                const bool eligible = IsAsciiAlnum(c) && (pass == 1 || wordStart) && !used.count(Fold(c));
                if (eligible) {
                    keys[i] = {c, offset};
                    used.insert(Fold(c));
                    break;
                }
                wordStart = c == U' ';
                offset = next;
            }
        }
    }
    return keys;
}

std::vector<const TMenuItem*> Siblings(const TMenuItem* item) {
    std::vector<const TMenuItem*> list;
    if (const TMenuItem* parent = item->Parent()) {
        for (int i = 0; i < parent->Count(); ++i) {
            list.push_back(parent->Items(i));
        }
    }
    return list;
}

std::optional<TAutoKey> AutomaticKeyOf(const TMenuItem* item) {
    const TMenuItem* parent = item->Parent();
    if (!parent || !parent->IsAutoHotkeys() || item->IsLine() || GetHotkey(item->Caption()) != 0) {
        return std::nullopt;
    }
    const std::vector<const TMenuItem*> siblings = Siblings(item);
    const std::vector<TAutoKey> keys = AssignAutomatic(siblings);
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == item && keys[i].Key != 0) {
            return keys[i];
        }
    }
    return std::nullopt;
}

void FillSolid(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

template <std::size_t N>
void DrawGlyph(TCanvas* canvas, const std::array<std::string_view, N>& glyph, int x, int y, TColor color) {
    for (std::size_t row = 0; row < N; ++row) {
        for (std::size_t col = 0; col < glyph[row].size(); ++col) {
            if (glyph[row][col] == '#') {
                const int px = x + static_cast<int>(col);
                const int py = y + static_cast<int>(row);
                FillSolid(canvas, {px, py, px + 1, py + 1}, color);
            }
        }
    }
}

// Top-left edge in one colour, bottom-right in another, one pixel wide, just inside rect.
void DrawEdgePair(TCanvas* canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) {
        return;
    }
    FillSolid(canvas, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    FillSolid(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    FillSolid(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    FillSolid(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

int GutterWidth(const TMenuItem* item) {
    int content = kCheckGlyphSize;
    if (const TMenu* menu = item->GetParentMenu(); menu && menu->Images()) {
        content = std::max(content, menu->Images()->Width());
    }
    return content + 2 * kGutterPad;
}

void DrawTextIn(TCanvas* canvas, std::string_view text, TRect rect, unsigned format, TColor color) {
    canvas->Font()->SetColor(color);
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas->Handle(), text, &rect, format);
}

} // namespace

bool GetSystemMenuFont(TFont& font) {
    NONCLIENTMETRICS metrics;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return false;
    }
    const LOGFONT& log = metrics.lfMenuFont;
    TFontStyles style;
    if (log.lfWeight >= FW_SEMIBOLD) {
        style.Include(fsBold);
    }
    if (log.lfItalic) {
        style.Include(fsItalic);
    }
    if (log.lfUnderline) {
        style.Include(fsUnderline);
    }
    if (log.lfStrikeOut) {
        style.Include(fsStrikeOut);
    }
    font.SetName(std::string(log.lfFaceName, strnlen(log.lfFaceName, LF_FACESIZE)));
    font.SetHeight(log.lfHeight);
    font.SetStyle(style);
    font.SetCharset(log.lfCharSet);
    font.SetColor(clMenuText);
    return true;
}

std::vector<char32_t> AutomaticHotkeys(const std::vector<const TMenuItem*>& items) {
    std::vector<char32_t> out;
    for (const TAutoKey& key : AssignAutomatic(items)) {
        out.push_back(key.Key);
    }
    return out;
}

std::string MenuItemDisplayCaption(const TMenuItem* item) {
    std::string caption = item->Caption();
    if (std::optional<TAutoKey> key = AutomaticKeyOf(item)) {
        caption.insert(key->Offset, 1, '&');
    }
    return caption;
}

char32_t MenuItemHotkey(const TMenuItem* item) {
    if (char32_t own = GetHotkey(item->Caption())) {
        return own;
    }
    std::optional<TAutoKey> key = AutomaticKeyOf(item);
    return key ? key->Key : 0;
}

TImageList* MenuItemImages(const TMenuItem* item) {
    const TMenu* menu = item->GetParentMenu();
    TImageList* images = menu ? menu->Images() : nullptr;
    if (!images || item->ImageIndex() < 0 || item->ImageIndex() >= images->Count()) {
        return nullptr;
    }
    return images;
}

TSize DefaultMenuItemSize(const TMenuItem* item, TCanvas* canvas) {
    const int gutter = GutterWidth(item);
    if (item->IsLine()) {
        return {gutter + kMenuArrowColumn, kMenuSeparatorHeight};
    }
    const TFontStyles style = canvas->Font()->Style();
    if (item->Default()) {
        canvas->Font()->SetStyle(style + TFontStyles{fsBold});
    }
    TRect text;
    DrawText(canvas->Handle(), MenuItemDisplayCaption(item), &text, DT_SINGLELINE | DT_CALCRECT);
    const std::string shortCut = ShortCutToText(item->ShortCut());
    const int shortCutWidth = shortCut.empty() ? 0 : kMenuShortCutGap + canvas->TextWidth(shortCut);
    const int textHeight = std::max(text.Height(), canvas->TextHeight("Wg"));
    canvas->Font()->SetStyle(style);

    int height = std::max(textHeight + 6, kMinItemHeight);
    if (const TMenu* menu = item->GetParentMenu(); menu && menu->Images()) {
        height = std::max(height, menu->Images()->Height() + 4);
    }
    return {gutter + text.Width() + shortCutWidth + kMenuArrowColumn, height};
}

TOwnerDrawState MenuItemDrawState(const TMenuItem* item, bool selected) {
    TOwnerDrawState state;
    if (selected) {
        state.Include(odSelected);
    }
    if (!item->Enabled()) {
        state.Include(odDisabled).Include(odGrayed);
    }
    if (item->Checked()) {
        state.Include(odChecked);
    }
    if (item->Default()) {
        state.Include(odDefault);
    }
    return state;
}

void DrawDefaultMenuItem(const TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
    const bool selected = state.Contains(odSelected);
    const bool disabled = state.Contains(odDisabled) || state.Contains(odGrayed);
    const TBrushStyle brushStyle = canvas->Brush()->Style();
    const TColor brushColor = canvas->Brush()->Color();
    const TFontStyles fontStyle = canvas->Font()->Style();
    const TColor fontColor = canvas->Font()->Color();

    if (item->IsLine()) {
        FillSolid(canvas, rect, clMenu);
        const int y = rect.Top + rect.Height() / 2 - 1;
        FillSolid(canvas, {rect.Left + 1, y, rect.Right - 1, y + 1}, clBtnShadow);
        FillSolid(canvas, {rect.Left + 1, y + 1, rect.Right - 1, y + 2}, clBtnHighlight);
    } else {
        FillSolid(canvas, rect, selected ? clHighlight : clMenu);
        const TColor textColor = disabled ? clGrayText : (selected ? clHighlightText : clMenuText);
        const int gutter = GutterWidth(item);
        const int centreX = rect.Left + gutter / 2;
        const int centreY = rect.Top + rect.Height() / 2;

        if (TImageList* images = MenuItemImages(item)) {
            const int x = centreX - images->Width() / 2;
            const int y = centreY - images->Height() / 2;
            if (state.Contains(odChecked)) {
                // A checked item with an image shows the image pressed in.
                DrawEdgePair(canvas, {x - 2, y - 2, x + images->Width() + 2, y + images->Height() + 2},
                             clBtnShadow, clBtnHighlight);
            }
            images->Draw(canvas, x, y, item->ImageIndex(), !disabled);
        } else if (state.Contains(odChecked)) {
            if (item->RadioItem()) {
                DrawGlyph(canvas, kRadioGlyph, centreX - 3, centreY - 3, textColor);
            } else {
                DrawGlyph(canvas, kCheckGlyph, centreX - 3, centreY - 3, textColor);
            }
        }

        if (item->Default()) {
            canvas->Font()->SetStyle(fontStyle + TFontStyles{fsBold});
        }
        const TRect textRect{rect.Left + gutter, rect.Top, rect.Right - kMenuArrowColumn, rect.Bottom};
        const std::string caption = MenuItemDisplayCaption(item);
        const std::string shortCut = ShortCutToText(item->ShortCut());
        constexpr unsigned kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        constexpr unsigned kShortCutFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX;
        if (disabled && !selected) {
            // Engraved, the classic way: a highlight one pixel down and right under grey text.
            const TRect lit = textRect.Offset(1, 1);
            DrawTextIn(canvas, caption, lit, kCaptionFormat, clBtnHighlight);
            DrawTextIn(canvas, shortCut, lit, kShortCutFormat, clBtnHighlight);
        }
        DrawTextIn(canvas, caption, textRect, kCaptionFormat, textColor);
        DrawTextIn(canvas, shortCut, textRect, kShortCutFormat, textColor);
    }

    canvas->Font()->SetStyle(fontStyle);
    canvas->Font()->SetColor(fontColor);
    canvas->Brush()->SetColor(brushColor);
    canvas->Brush()->SetStyle(brushStyle);
}

void DrawSubmenuArrow(TCanvas* canvas, const TRect& rect, TColor color) {
    const TBrushStyle brushStyle = canvas->Brush()->Style();
    const TColor brushColor = canvas->Brush()->Color();
    const int x = rect.Right - kMenuArrowColumn / 2 - 2;
    const int y = rect.Top + rect.Height() / 2;
    for (int i = 0; i < 4; ++i) {
        FillSolid(canvas, {x + i, y - 3 + i, x + i + 1, y + 4 - i}, color);
    }
    canvas->Brush()->SetColor(brushColor);
    canvas->Brush()->SetStyle(brushStyle);
}

void DrawMenuFrame(TCanvas* canvas, const TRect& rect) {
    DrawEdgePair(canvas, rect, cl3DLight, cl3DDkShadow);
    DrawEdgePair(canvas, rect.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
    const TRect pad = rect.Inflate(-2, -2);
    DrawEdgePair(canvas, pad, clMenu, clMenu);
}
