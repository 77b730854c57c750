#include "tools/paint_resources/ContactSheet.h"

// Sections:
//   1. Painted bitmaps, each painted once
//   2. Look previews: a small window of each look put together from its bitmaps
//   3. The sheet: labelled bitmaps and previews, look by look, written as PNG

#include "tools/paint_resources/MainIcon.h"
#include "tools/paint_resources/PixelFont.h"
#include "tools/paint_resources/Pixmap.h"
#include "tools/paint_resources/ResourceTable.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <png.h>
#include <string>
#include <vector>

namespace {

// ---- 1. Painted bitmaps ------------------------------------------------------------------------

// Each bitmap is painted once however often the sheet shows it.
const TPixmap& Resource(const std::string& name) {
    static std::map<std::string, TPixmap> painted;
    const auto found = painted.find(name);
    if (found != painted.end()) {
        return found->second;
    }
    const TResourceEntry* entry = FindBitmapResource(name);
    return painted[name] = entry != nullptr ? FromImage(PaintBitmapResource(*entry)) : TPixmap();
}

// ---- 2. Look previews -------------------------------------------------------------------------

struct TLook {
    std::string name;
    std::string prefix;
    std::uint32_t form;   // form background colour
    std::string pattern;  // form background pattern, when the look has one
    std::uint32_t border; // form border colour
    int borderWidth;
    bool buttonTransparent;
    bool titleButtonTransparent;
    int leftOffset, rightOffset, buttonTop;
    std::uint32_t caption;    // title caption colour
    std::uint32_t scrollBack; // scroll bar background
    std::uint32_t controlBorder, controlBack;
    std::string scrollButton; // the tab scroll button resource
};

// The colours and numbers each look gives the skin (0xRRGGBB here).
const std::vector<TLook>& Looks() {
    static const std::vector<TLook> looks = {
        {"MacOS", "MACOS_", 0xE7E7E7, "MACOS_FORM_BACKGROUND", 0x7F7F7F, 1, true, false, 3, -2, 4, 0x000000,
         0xC9C9C9, 0x7F7F7F, 0xE7E7E7, "MACOS_SCROLLBUTTON"},
        {"WinXP", "WINXP_", 0xEFEBDE, "", 0x002CC8, 3, false, false, 2, -2, 5, 0xFFFFFF, 0xF9F9F9, 0x686868,
         0xEFEBDE, "WINXP_SCROLLBUTTON"},
        {"DeepBlue", "DEEPBLUE_", 0xE8E8E8, "", 0x000000, 1, false, false, 0, 0, 2, 0xFFFFFF, 0xF5F5F5,
         0x000000, 0xE8E8E8, "MORE_SCROLLBUTTON"},
        {"Protein", "PROTEIN_", 0xFBFBFB, "PROTEIN_FORM_BACKGROUND", 0x000000, 1, false, true, 0, 0, 2,
         0xFFFFFF, 0xF5F5F5, 0x000000, 0xFBFBFB, "MORE_SCROLLBUTTON"},
        {"BlueGlass", "BLUEGLASS_", 0xE7E7E7, "", 0x000000, 1, true, true, 4, -3, 6, 0xFFFFFF, 0xF4F4F4,
         0x000000, 0xE7E7E7, "MORE_SCROLLBUTTON"},
    };
    return looks;
}

enum TTitleState { kAllNormal, kMixedStates };

void DrawTitleBar(TPixmap& dst, const TLook& look, int x, int y, int width, TTitleState states) {
    const TPixmap left = Resource(look.prefix + "TITLE_LEFT");
    const TPixmap client = Resource(look.prefix + "TITLE_CLIENT");
    const TPixmap right = Resource(look.prefix + "TITLE_RIGHT");
    const TPixmap buttons = Resource(look.prefix + "TITLEBTN");
    const int h = left.h;
    Draw(dst, left, x, y, false);
    if (width - left.w >= right.w) {
        Draw(dst, right, x + width - right.w, y, false);
        StretchDraw(dst, client, 0, 0, client.w, client.h, x + left.w, y, width - left.w - right.w, h, false);
    }
    const int bs = buttons.w / 18;
    int r = width + look.rightOffset + 1;
    const int frames[3] = {16, 7, 13}; // close, maximise, minimise from the right
    const int mixed[3] = {0, 1, 2};    // normal, hot, pressed
    for (int i = 0; i < 3; ++i) {
        r -= bs + 1;
        const int frame = frames[i] + (states == kMixedStates ? mixed[i] : 0);
        Draw(dst, Slice(buttons, 18, frame), x + r, y + look.buttonTop, look.titleButtonTransparent);
    }
    int l = look.leftOffset;
    Draw(dst, Slice(buttons, 18, states == kMixedStates ? 2 : 1), x + l, y + look.buttonTop,
         look.titleButtonTransparent);
    l += bs + 5;
    DrawText(dst, x + l, y + look.buttonTop + (buttons.h - kPixelGlyphHeight) / 2, "VARNEL V1.0",
             look.caption);
}

TPixmap LookPreview(const TLook& look) {
    const int W = 520;
    const TPixmap titleLeft = Resource(look.prefix + "TITLE_LEFT");
    const int titleH = titleLeft.h;
    const int bodyH = 150;
    const int bw = look.borderWidth;
    const int windowH = bw * 2 + titleH + bodyH;
    TPixmap out(W, windowH + 12 + titleH, 0xFFFFFF);

    FillRect(out, 0, 0, W, windowH, look.border);
    DrawTitleBar(out, look, bw, bw, W - 2 * bw, kAllNormal);
    const int bx = bw;
    const int by = bw + titleH;
    const int bodyW = W - 2 * bw;
    if (!look.pattern.empty()) {
        TPixmap body(bodyW, bodyH, 0);
        Tile(body, Resource(look.pattern), 0, 0, bodyW, bodyH);
        Draw(out, body, bx, by, false);
    } else {
        FillRect(out, bx, by, bx + bodyW, by + bodyH, look.form);
    }

    // Push buttons at the program's size, normal, hot and pressed.
    const TPixmap button = Resource(look.prefix + "BUTTON");
    for (int i = 0; i < 3; ++i) {
        const int x = bx + 12 + i * 137;
        const int y = by + 12;
        DrawKeepCorners(out, Slice(button, 3, i + 1), x, y, 129, 27, look.buttonTransparent);
        const std::string text = "GENERATE";
        const int push = i == 2 ? 1 : 0;
        DrawText(out, x + (129 - PixelTextWidth(text)) / 2 + push, y + 10 + push, text, 0x000000);
    }
    // Check boxes in their four states.
    const TPixmap check = Resource(look.prefix + "CHECKBOX");
    const char* labels[4] = {"CHECKED", "UNCHECKED", "DISABLED", "DISABLED"};
    for (int i = 0; i < 4; ++i) {
        const TPixmap box = Slice(check, 4, i + 1);
        const int x = bx + 12 + i * 104;
        const int y = by + 52;
        Draw(out, box, x + 1, y + (17 - box.h) / 2, false);
        DrawText(out, x + box.w + 5, y + 5, labels[i], i < 2 ? 0x000000 : 0x808080);
    }
    // A progress bar at 60 per cent.
    {
        const TPixmap picture = Resource(look.prefix + "PROGRESSBAR");
        const int x = bx + 12;
        const int y = by + 82;
        const int w = 220;
        FillRect(out, x, y, x + w, y + 12, look.controlBack);
        const int a = 1 + (w - 2) * 60 / 100;
        StretchDraw(out, picture, 0, 0, picture.w, picture.h, x + 1, y + 1, a - 1, 10, false);
        FrameRect(out, x, y, x + w, y + 12, look.controlBorder);
        DrawText(out, x + w / 2 - 8, y + 3, "60", 0x000000);
    }
    // A track bar.
    {
        const TPixmap bar = Resource(look.prefix + "TRACKBAR_BAR");
        const TPixmap thumb = Resource(look.prefix + "TRACKBAR_SLIDER");
        const int x = bx + 250;
        const int y = by + 78;
        DrawThreePart(out, bar, x, y + (thumb.h - bar.h) / 2, 170);
        Draw(out, thumb, x + 60, y, true);
        const TPixmap thumbV = Resource(look.prefix + "TRACKBAR_SLIDER_V");
        Draw(out, thumbV, x + 185, y - 4, false);
    }
    // A horizontal scroll bar: buttons turned anticlockwise, thumb pieces as drawn.
    const TPixmap arrows = Resource(look.prefix + "SCROLLBAR_BUTTON");
    const TPixmap thumb = Resource(look.prefix + "SCROLLBAR_TRACK");
    const TPixmap head = Slice(thumb, 3, 1);
    const TPixmap middle = Slice(thumb, 3, 2);
    const TPixmap tail = Slice(thumb, 3, 3);
    {
        const TPixmap first = RotateAnticlockwise(Slice(arrows, 6, 1));
        const TPixmap second = RotateAnticlockwise(Slice(arrows, 6, 4));
        const int x = bx + 12;
        const int y = by + 110;
        const int w = 320;
        FillRect(out, x, y, x + w, y + first.h, look.scrollBack);
        Draw(out, first, x, y, false);
        Draw(out, second, x + w - second.w, y, false);
        const int sx = x + first.w + 70;
        const int len = 60;
        const int ty = y + std::max(0, first.h - head.h) / 2;
        Draw(out, head, sx, ty, false);
        StretchDraw(out, middle, 0, 0, middle.w, middle.h, sx + head.w, ty, len - head.w - tail.w, middle.h,
                    false);
        Draw(out, tail, sx + len - tail.w, ty, false);
    }
    // A vertical scroll bar: buttons as drawn, thumb pieces turned clockwise.
    {
        const TPixmap first = Slice(arrows, 6, 1);
        const TPixmap second = Slice(arrows, 6, 6);
        const TPixmap vHead = RotateClockwise(head);
        const TPixmap vMiddle = RotateClockwise(middle);
        const TPixmap vTail = RotateClockwise(tail);
        const int x = bx + bodyW - first.w - 8;
        const int y = by + 8;
        const int h = bodyH - 16;
        FillRect(out, x, y, x + first.w, y + h, look.scrollBack);
        Draw(out, first, x, y, false);
        Draw(out, second, x, y + h - second.h, false);
        const int sy = y + first.h + 25;
        const int len = 50;
        Draw(out, vHead, x, sy, false);
        StretchDraw(out, vMiddle, 0, 0, vMiddle.w, vMiddle.h, x, sy + vHead.h, vMiddle.w,
                    len - vHead.h - vTail.h, false);
        Draw(out, vTail, x, sy + len - vTail.h, false);
    }
    // Tab scroll buttons and a tab.
    {
        const TPixmap more = Resource(look.scrollButton);
        Draw(out, Slice(more, 4, 1), bx + 350, by + 108, false);
        Draw(out, Slice(more, 4, 3), bx + 350 + more.w / 4 + 2, by + 108, false);
        const TPixmap tab = Resource(look.prefix + "TAB");
        const TPixmap line = Resource(look.prefix + "TAB_LINE");
        const int tx = bx + 400;
        const int ty = by + 108;
        StretchDraw(out, line, 0, 0, line.w, line.h, tx - 4, ty + tab.h, 80, line.h, false);
        DrawThreePart(out, tab, tx, ty, 60);
    }
    // The same title bar once more with hot and pressed buttons.
    DrawTitleBar(out, look, bw, windowH + 12, W - 2 * bw, kMixedStates);
    return out;
}

// ---- 3. The sheet -----------------------------------------------------------------------------

constexpr int kSheetWidth = 1480;
constexpr int kMargin = 16;
constexpr int kScale = 3;
constexpr std::uint32_t kPage = 0xFFFFFF;
constexpr std::uint32_t kInk = 0x202020;

// The bitmap scaled up, see-through pixels as a checkerboard, frames marked below.
TPixmap ShowBitmap(const TPixmap& bmp, int frames) {
    TPixmap out(bmp.w * kScale + 2, bmp.h * kScale + 2 + 5, kPage);
    FrameRect(out, 0, 0, out.w, bmp.h * kScale + 2, 0xA0A0A0);
    for (int y = 0; y < bmp.h * kScale; ++y) {
        for (int x = 0; x < bmp.w * kScale; ++x) {
            std::uint32_t c = bmp.At(x / kScale, y / kScale);
            if (c == kKeyPixel) {
                c = ((x / 6 + y / 6) % 2 == 0) ? 0xFFFFFF : 0xD6D6D6;
            }
            out.Set(x + 1, y + 1, c);
        }
    }
    for (int f = 1; f < frames; ++f) {
        const int x = 1 + f * (bmp.w / frames) * kScale;
        FillRect(out, x - 1, bmp.h * kScale + 2, x + 1, out.h, 0xC00000);
    }
    return out;
}

// Lays items out left to right, wrapping at the sheet's width; without a page it only measures.
class TFlow {
public:
    TFlow(TPixmap* page, int top) : m_page(page), m_y(top) {}

    void Add(const TPixmap& item, const std::string& label) {
        const int w = std::max(item.w, PixelTextWidth(label) * 2);
        const int h = 16 + item.h;
        if (m_x + w > kSheetWidth - kMargin && m_x > kMargin) {
            m_x = kMargin;
            m_y += m_rowHeight + 14;
            m_rowHeight = 0;
        }
        if (m_page != nullptr) {
            DrawText(*m_page, m_x, m_y, label, kInk, 2);
            Draw(*m_page, item, m_x, m_y + 16, false);
        }
        m_x += w + 18;
        m_rowHeight = std::max(m_rowHeight, h);
    }

    int Bottom() const { return m_y + m_rowHeight; }

private:
    TPixmap* m_page;
    int m_x = kMargin;
    int m_y;
    int m_rowHeight = 0;
};

TPixmap IconsShown() {
    TPixmap icons(32 * kScale + 16 * kScale + 12, 32 * kScale, kPage);
    for (int size : {16, 32}) {
        const TImage icon = PaintMainIcon(size);
        TPixmap shown(size, size, 0);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                // The icon has real transparency: show it over the page.
                const std::uint32_t argb = icon.PixelWithAlpha(x, y);
                const double a = (argb >> 24) / 255.0;
                const auto ch = [&](int shift) {
                    const double v = ((argb >> shift) & 0xFF) * a + 0xFF * (1 - a);
                    return static_cast<std::uint32_t>(v + 0.5) << shift;
                };
                shown.Set(x, y, ch(16) | ch(8) | ch(0));
            }
        }
        Draw(icons, Scaled(shown, kScale), size == 16 ? 0 : 16 * kScale + 12, 0, false);
    }
    return icons;
}

TPixmap GroupSection(const std::string& title, const std::vector<const TResourceEntry*>& entries,
                     const TLook* look) {
    std::vector<std::pair<TPixmap, std::string>> items;
    for (const TResourceEntry* entry : entries) {
        items.emplace_back(ShowBitmap(Resource(entry->name), entry->frames),
                           entry->name + " " + std::to_string(entry->width) + "x" +
                               std::to_string(entry->height));
    }
    if (look == nullptr) {
        items.emplace_back(IconsShown(), "MAINICON 16 32");
    }
    const int flowTop = kMargin + 40;
    TFlow measure(nullptr, flowTop);
    for (const auto& [item, label] : items) {
        measure.Add(item, label);
    }
    const int previewTop = measure.Bottom() + 20;
    const TPixmap preview = look != nullptr ? Scaled(LookPreview(*look), 2) : TPixmap();
    const int bottom = look != nullptr ? previewTop + 18 + preview.h + 10 : previewTop;

    TPixmap section(kSheetWidth, bottom + kMargin, kPage);
    DrawText(section, kMargin, kMargin, title, kInk, 4);
    TFlow flow(&section, flowTop);
    for (const auto& [item, label] : items) {
        flow.Add(item, label);
    }
    if (look != nullptr) {
        DrawText(section, kMargin, previewTop, "PREVIEW AT 2X", kInk, 2);
        Draw(section, preview, kMargin, previewTop + 18, false);
    }
    // A rule closes the section.
    FillRect(section, 0, section.h - 2, kSheetWidth, section.h, 0x909090);
    return section;
}

bool WritePng(const TPixmap& img, const std::filesystem::path& path, std::string& error) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.string().c_str(), "wb"), &std::fclose);
    if (!file) {
        error = path.string() + ": cannot open for writing";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        error = path.string() + ": cannot start the PNG writer";
        return false;
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(img.w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = path.string() + ": PNG writing failed";
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.w), static_cast<png_uint_32>(img.h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.h; ++y) {
        for (int x = 0; x < img.w; ++x) {
            const std::uint32_t c = img.At(x, y);
            row[3 * x] = static_cast<std::uint8_t>(c >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WriteContactSheet(const std::filesystem::path& pngPath, std::string& error) {
    std::vector<TPixmap> sections;
    for (const TLook& look : Looks()) {
        std::vector<const TResourceEntry*> entries;
        for (const TResourceEntry& entry : BitmapResources()) {
            if (entry.name.rfind(look.prefix, 0) == 0) {
                entries.push_back(&entry);
            }
        }
        sections.push_back(GroupSection(look.name, entries, &look));
    }
    std::vector<const TResourceEntry*> shared;
    for (const TResourceEntry& entry : BitmapResources()) {
        bool inLook = false;
        for (const TLook& look : Looks()) {
            inLook = inLook || entry.name.rfind(look.prefix, 0) == 0;
        }
        // The MacOS menu strips and form patterns belong to the look by name but are loaded by name
        // whatever the look; they are shown with the MacOS bitmaps.
        if (!inLook) {
            shared.push_back(&entry);
        }
    }
    sections.push_back(GroupSection("SHARED", shared, nullptr));

    int height = 0;
    for (const TPixmap& s : sections) {
        height += s.h;
    }
    TPixmap sheet(kSheetWidth, height, kPage);
    int y = 0;
    for (const TPixmap& s : sections) {
        Draw(sheet, s, 0, y, false);
        y += s.h;
    }
    return WritePng(sheet, pngPath, error);
}
