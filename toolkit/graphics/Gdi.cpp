#include "toolkit/graphics/Gdi.h"

#include "toolkit/graphics/Color.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

namespace {

std::uint32_t PixelOf(COLORREF color) {
    return ColorToPixel(static_cast<TColor>(color));
}

HGDIOBJ AddObject(TGdiKind kind, auto data, bool stock = false) {
    TGdiObject object;
    object.Kind = kind;
    object.Stock = stock;
    object.Data = std::move(data);
    return gdi::Add(std::move(object));
}

TBrushData MakeSolidBrush(std::uint32_t pixel) {
    TBrushData brush;
    brush.Style = BS_SOLID;
    brush.Pixel = pixel;
    return brush;
}

HGDIOBJ MakeStockObject(int index) {
    auto solid = [](std::uint32_t pixel) { return AddObject(TGdiKind::Brush, MakeSolidBrush(pixel), true); };
    auto pen = [](int style, std::uint32_t pixel) {
        return AddObject(TGdiKind::Pen, TPenData{style, 1, pixel}, true);
    };
    switch (index) {
    case WHITE_BRUSH:
        return solid(0xFFFFFF);
    case LTGRAY_BRUSH:
        return solid(0xC0C0C0);
    case GRAY_BRUSH:
        return solid(0x808080);
    case DKGRAY_BRUSH:
        return solid(0x404040);
    case BLACK_BRUSH:
        return solid(0x000000);
    case NULL_BRUSH: {
        TBrushData brush;
        brush.Style = BS_NULL;
        return AddObject(TGdiKind::Brush, brush, true);
    }
    case WHITE_PEN:
        return pen(PS_SOLID, 0xFFFFFF);
    case BLACK_PEN:
        return pen(PS_SOLID, 0x000000);
    case NULL_PEN:
        return pen(PS_NULL, 0x000000);
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        TFontData font;
        font.Request.Name = "MS Sans Serif";
        font.Request.Height = -11;
        font.Log = LogFontFromRequest(font.Request);
        return AddObject(TGdiKind::Font, font, true);
    }
    case kStockDefaultBitmap:
        return AddObject(TGdiKind::Bitmap, TBitmapData{std::make_shared<TPixelBuffer>(1, 1), 0, false}, true);
    default:
        return nullptr;
    }
}

// The brush behind a handle. As classic, a system colour index plus one passed as a brush
// stands for that colour's brush.
const TBrushData* BrushOf(HBRUSH handle) {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= 1 && value <= COLOR_ENDCOLORS) {
        HBRUSH system = GetSysColorBrush(static_cast<int>(value) - 1);
        return gdi::FindData<TBrushData>(system);
    }
    return gdi::FindData<TBrushData>(handle);
}

// Contexts made by CreateCompatibleDC; only those may be deleted with DeleteDC.
std::unordered_set<HDC>& MemoryContexts() {
    static std::unordered_set<HDC> contexts;
    return contexts;
}

} // namespace

// ---- Objects ----

HGDIOBJ GetStockObject(int index) {
    static std::array<HGDIOBJ, kStockDefaultBitmap + 1> stock{};
    if (index < 0 || index > kStockDefaultBitmap) {
        return nullptr;
    }
    HGDIOBJ& slot = stock[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = MakeStockObject(index);
    }
    return slot;
}

HBRUSH GetSysColorBrush(int index) {
    static std::array<HGDIOBJ, COLOR_ENDCOLORS> brushes{};
    if (index < 0 || index >= COLOR_ENDCOLORS) {
        return nullptr;
    }
    HGDIOBJ& slot = brushes[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = AddObject(TGdiKind::Brush, MakeSolidBrush(ColorToPixel(SystemColor(index))), true);
    }
    return gdi::Typed<HBRUSH>(slot);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return gdi::Typed<HBRUSH>(AddObject(TGdiKind::Brush, MakeSolidBrush(PixelOf(color))));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    TBitmapData* data = gdi::FindData<TBitmapData>(bitmap);
    if (!data || !data->Pixels || data->Pixels->Empty()) {
        return nullptr;
    }
    const TPixelBuffer& source = *data->Pixels;
    auto pattern = std::make_shared<TPixelBuffer>(std::min(source.Width(), 8), std::min(source.Height(), 8));
    for (int y = 0; y < pattern->Height(); ++y) {
        std::copy_n(source.Row(y), pattern->Width(), pattern->Row(y));
    }
    TBrushData brush;
    brush.Style = BS_PATTERN;
    brush.Pattern = std::move(pattern);
    return gdi::Typed<HBRUSH>(AddObject(TGdiKind::Brush, std::move(brush)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) {
        return nullptr;
    }
    switch (brush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_NULL: {
        TBrushData data;
        data.Style = BS_NULL;
        return gdi::Typed<HBRUSH>(AddObject(TGdiKind::Brush, data));
    }
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
        return nullptr;
    }
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        return nullptr;
    }
    // Styled pens are one pixel wide, as classic cosmetic pens are; wider ones draw solid.
    TPenData pen{style == PS_INSIDEFRAME ? PS_SOLID : style, std::max(1, width), PixelOf(color)};
    if (pen.Width > 1 && pen.Style != PS_NULL) {
        pen.Style = PS_SOLID;
    }
    return gdi::Typed<HPEN>(AddObject(TGdiKind::Pen, pen));
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (!font) {
        return nullptr;
    }
    TFontData data;
    data.Log = *font;
    data.Request = FontRequestFromLogFont(*font);
    return gdi::Typed<HFONT>(AddObject(TGdiKind::Font, std::move(data)));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    return CreateBitmapOver(std::make_shared<TPixelBuffer>(width, height));
}

HBITMAP CreateBitmapOver(std::shared_ptr<TPixelBuffer> pixels) {
    if (!pixels) {
        return nullptr;
    }
    return gdi::Typed<HBITMAP>(AddObject(TGdiKind::Bitmap, TBitmapData{std::move(pixels), 0, false}));
}

bool DeleteObject(HGDIOBJ object) {
    return gdi::Delete(object);
}

int GetObjectType(HGDIOBJ object) {
    TGdiObject* found = gdi::Find(object);
    if (!found) {
        return 0;
    }
    switch (found->Kind) {
    case TGdiKind::Brush:
        return OBJ_BRUSH;
    case TGdiKind::Pen:
        return OBJ_PEN;
    case TGdiKind::Font:
        return OBJ_FONT;
    case TGdiKind::Region:
        return OBJ_REGION;
    case TGdiKind::Bitmap:
        return OBJ_BITMAP;
    }
    return 0;
}

int GetObject(HGDIOBJ object, int size, void* out) {
    TGdiObject* found = gdi::Find(object);
    if (!found || !out) {
        return 0;
    }
    auto write = [&](const auto& value) {
        if (size < static_cast<int>(sizeof(value))) {
            return 0;
        }
        std::memcpy(out, &value, sizeof(value));
        return static_cast<int>(sizeof(value));
    };
    if (auto* bitmap = std::get_if<TBitmapData>(&found->Data)) {
        BITMAP info;
        info.bmWidth = bitmap->Pixels ? bitmap->Pixels->Width() : 0;
        info.bmHeight = bitmap->Pixels ? bitmap->Pixels->Height() : 0;
        info.bmWidthBytes = info.bmWidth * 4;
        return write(info);
    }
    if (auto* font = std::get_if<TFontData>(&found->Data)) {
        return write(font->Log);
    }
    if (auto* pen = std::get_if<TPenData>(&found->Data)) {
        LOGPEN info;
        info.lopnStyle = static_cast<unsigned>(pen->Style);
        info.lopnWidth = {pen->Width, 0};
        info.lopnColor = static_cast<COLORREF>(PixelToColor(pen->Pixel));
        return write(info);
    }
    if (auto* brush = std::get_if<TBrushData>(&found->Data)) {
        LOGBRUSH info;
        info.lbStyle = static_cast<unsigned>(brush->Style);
        info.lbColor = static_cast<COLORREF>(PixelToColor(brush->Pixel));
        return write(info);
    }
    return 0;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    TGdiObject* found = gdi::Find(object);
    if (!dc || !found) {
        return nullptr;
    }
    switch (found->Kind) {
    case TGdiKind::Brush:
        return dc->SelectBrush(gdi::Typed<HBRUSH>(object), std::get<TBrushData>(found->Data));
    case TGdiKind::Pen:
        return dc->SelectPen(gdi::Typed<HPEN>(object), std::get<TPenData>(found->Data));
    case TGdiKind::Font:
        return dc->SelectFont(gdi::Typed<HFONT>(object), std::get<TFontData>(found->Data));
    case TGdiKind::Bitmap:
        return dc->SelectBitmap(gdi::Typed<HBITMAP>(object));
    case TGdiKind::Region: {
        int complexity = dc->SelectClip(&std::get<TRegion>(found->Data), RGN_COPY);
        return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(complexity));
    }
    }
    return nullptr;
}

HPEN SelectObject(HDC dc, HPEN pen) {
    return gdi::Typed<HPEN>(SelectObject(dc, static_cast<HGDIOBJ>(pen)));
}
HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return gdi::Typed<HBRUSH>(SelectObject(dc, static_cast<HGDIOBJ>(brush)));
}
HFONT SelectObject(HDC dc, HFONT font) {
    return gdi::Typed<HFONT>(SelectObject(dc, static_cast<HGDIOBJ>(font)));
}
HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return gdi::Typed<HBITMAP>(SelectObject(dc, static_cast<HGDIOBJ>(bitmap)));
}

HGDIOBJ GetCurrentObject(HDC dc, int type) {
    if (!dc) {
        return nullptr;
    }
    switch (type) {
    case OBJ_PEN:
        return dc->CurrentPen();
    case OBJ_BRUSH:
        return dc->CurrentBrush();
    case OBJ_FONT:
        return dc->CurrentFont();
    case OBJ_BITMAP:
        return dc->CurrentBitmap();
    default:
        return nullptr;
    }
}

// ---- Contexts ----

HDC CreateCompatibleDC(HDC) {
    auto* dc = new TDeviceContext();
    dc->MakeMemoryDC();
    MemoryContexts().insert(dc);
    return dc;
}

bool DeleteDC(HDC dc) {
    if (!dc || MemoryContexts().erase(dc) == 0) {
        return false;
    }
    delete dc;
    return true;
}

int GetDeviceCaps(HDC dc, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case BITSPIXEL:
        return 32;
    case HORZRES:
        return dc && dc->Target() ? dc->Target()->Width() : 0;
    case VERTRES:
        return dc && dc->Target() ? dc->Target()->Height() : 0;
    default:
        return 0;
    }
}

int SaveDC(HDC dc) {
    return dc ? dc->Save() : 0;
}

bool RestoreDC(HDC dc, int savedDC) {
    return dc && dc->Restore(savedDC);
}

namespace {

bool ReportPrevious(TPoint previous, TPoint* out) {
    if (out) {
        *out = previous;
    }
    return true;
}

} // namespace

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    if (!dc) {
        return false;
    }
    TPoint old = dc->ViewportOrg();
    dc->SetViewportOrg({x, y});
    return ReportPrevious(old, previous);
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    if (!dc) {
        return false;
    }
    TPoint old = dc->ViewportOrg();
    dc->SetViewportOrg({old.X + dx, old.Y + dy});
    return ReportPrevious(old, previous);
}

bool GetViewportOrgEx(HDC dc, TPoint* origin) {
    return dc && origin && ReportPrevious(dc->ViewportOrg(), origin);
}

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    if (!dc) {
        return false;
    }
    TPoint old = dc->WindowOrg();
    dc->SetWindowOrg({x, y});
    return ReportPrevious(old, previous);
}

bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    if (!dc) {
        return false;
    }
    TPoint old = dc->WindowOrg();
    dc->SetWindowOrg({old.X + dx, old.Y + dy});
    return ReportPrevious(old, previous);
}

bool GetWindowOrgEx(HDC dc, TPoint* origin) {
    return dc && origin && ReportPrevious(dc->WindowOrg(), origin);
}

bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous) {
    if (!dc) {
        return false;
    }
    return ReportPrevious(dc->SetBrushOrg({x, y}), previous);
}

// ---- Clipping ----

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    if (!dc) {
        return ERROR;
    }
    const TRegion* r = RegionFromHandle(region);
    if (region && !r) {
        return ERROR;
    }
    return dc->SelectClip(r, mode);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return dc ? dc->IntersectClip({left, top, right, bottom}) : ERROR;
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return dc ? dc->ExcludeClip({left, top, right, bottom}) : ERROR;
}

int GetClipBox(HDC dc, TRect* rect) {
    if (!dc || !rect) {
        return ERROR;
    }
    return dc->ClipBox(*rect);
}

int GetClipRgn(HDC dc, HRGN region) {
    TRegion* r = RegionFromHandle(region);
    if (!dc || !r) {
        return -1;
    }
    std::optional<TRegion> clip = dc->ProgramClip();
    if (!clip) {
        return 0;
    }
    *r = std::move(*clip);
    return 1;
}

bool PtVisible(HDC dc, int x, int y) {
    return dc && dc->PtVisible(x, y);
}

bool RectVisible(HDC dc, const TRect* rect) {
    return dc && rect && dc->RectVisible(*rect);
}

// ---- Attributes ----

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return dc ? dc->SetTextColor(color) : CLR_INVALID;
}
COLORREF GetTextColor(HDC dc) {
    return dc ? dc->TextColor() : CLR_INVALID;
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return dc ? dc->SetBkColor(color) : CLR_INVALID;
}
COLORREF GetBkColor(HDC dc) {
    return dc ? dc->BkColor() : CLR_INVALID;
}
int SetBkMode(HDC dc, int mode) {
    return dc ? dc->SetBkMode(mode) : 0;
}
int GetBkMode(HDC dc) {
    return dc ? dc->BkMode() : 0;
}
int SetPolyFillMode(HDC dc, int mode) {
    return dc ? dc->SetPolyFillMode(mode) : 0;
}

// ---- Drawing ----

int FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    const TBrushData* data = BrushOf(brush);
    if (!dc || !rect || !data) {
        return 0;
    }
    dc->FillRect(*rect, *data);
    return 1;
}

int FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    const TBrushData* data = BrushOf(brush);
    if (!dc || !rect || !data) {
        return 0;
    }
    dc->FrameRect(*rect, *data);
    return 1;
}

bool InvertRect(HDC dc, const TRect* rect) {
    if (!dc || !rect) {
        return false;
    }
    dc->InvertRect(*rect);
    return true;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    const TRegion* r = RegionFromHandle(region);
    const TBrushData* data = BrushOf(brush);
    if (!dc || !r || !data) {
        return false;
    }
    dc->FillRegion(*r, *data);
    return true;
}

bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    const TRegion* r = RegionFromHandle(region);
    const TBrushData* data = BrushOf(brush);
    if (!dc || !r || !data) {
        return false;
    }
    dc->FrameRegion(*r, *data, width, height);
    return true;
}

bool PaintRgn(HDC dc, HRGN region) {
    const TRegion* r = RegionFromHandle(region);
    if (!dc || !r) {
        return false;
    }
    dc->FillRegion(*r, dc->Brush());
    return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, std::uint32_t rop) {
    return dc && dc->PatBlt(x, y, width, height, rop);
}

bool MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    if (!dc) {
        return false;
    }
    return ReportPrevious(dc->MoveTo({x, y}), previous);
}

bool LineTo(HDC dc, int x, int y) {
    if (!dc) {
        return false;
    }
    dc->LineTo({x, y});
    return true;
}

bool Polyline(HDC dc, const TPoint* points, int count) {
    if (!dc || !points || count < 2) {
        return false;
    }
    dc->Polyline(std::span(points, static_cast<std::size_t>(count)));
    return true;
}

bool Polygon(HDC dc, const TPoint* points, int count) {
    if (!dc || !points || count < 2) {
        return false;
    }
    dc->Polygon(std::span(points, static_cast<std::size_t>(count)));
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) {
        return false;
    }
    dc->Rectangle({left, top, right, bottom});
    return true;
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    if (!dc) {
        return false;
    }
    dc->RoundRect({left, top, right, bottom}, ellipseWidth, ellipseHeight);
    return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) {
        return false;
    }
    dc->Ellipse({left, top, right, bottom});
    return true;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    return dc ? dc->SetPixel(x, y, color) : CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    return dc ? dc->GetPixel(x, y) : CLR_INVALID;
}

bool BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, std::uint32_t rop) {
    return dc && dc->BitBlt(x, y, width, height, source, sx, sy, rop);
}

bool StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sourceWidth,
                int sourceHeight, std::uint32_t rop) {
    return dc && dc->StretchBlt(x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, rop);
}

bool TransparentBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sourceWidth,
                    int sourceHeight, COLORREF key) {
    return dc && dc->TransparentBlt(x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, key);
}

bool DrawFocusRect(HDC dc, const TRect* rect) {
    if (!dc || !rect) {
        return false;
    }
    dc->DrawFocusRect(*rect);
    return true;
}

// ---- Text ----

bool TextOut(HDC dc, int x, int y, std::string_view text) {
    return dc && dc->TextOut(x, y, text);
}

bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text) {
    return dc && dc->ExtTextOut(x, y, options, rect, text);
}

bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size) {
    if (!dc || !size) {
        return false;
    }
    *size = dc->TextExtent(text);
    return true;
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
    if (!dc || !metrics) {
        return false;
    }
    TFontMetrics m = dc->TextMetrics();
    const LOGFONT& log = dc->Font().Log;
    TEXTMETRIC tm;
    tm.tmHeight = m.Height;
    tm.tmAscent = m.Ascent;
    tm.tmDescent = m.Descent;
    tm.tmInternalLeading = m.InternalLeading;
    tm.tmExternalLeading = m.ExternalLeading;
    tm.tmAveCharWidth = m.AveCharWidth;
    tm.tmMaxCharWidth = m.MaxCharWidth;
    tm.tmWeight = log.lfWeight == FW_DONTCARE ? FW_NORMAL : log.lfWeight;
    tm.tmItalic = log.lfItalic;
    tm.tmUnderlined = log.lfUnderline;
    tm.tmStruckOut = log.lfStrikeOut;
    tm.tmCharSet = log.lfCharSet;
    *metrics = tm;
    return true;
}

int DrawText(HDC dc, std::string_view text, TRect* rect, unsigned format) {
    if (!dc || !rect) {
        return 0;
    }
    return dc->DrawText(text, *rect, format);
}
