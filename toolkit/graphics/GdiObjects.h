#pragma once

#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Region.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <variant>

// The drawing objects behind the handles, and the one table that maps handles to them.
// Device contexts copy an object's values when it is selected, so deleting a selected pen,
// brush or font can never leave a context pointing at freed memory.

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles (as GetObject reports them).
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;
constexpr int BS_PATTERN = 3;

// Font weights.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;

constexpr int LF_FACESIZE = 32;

struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 1; // DEFAULT_CHARSET
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {}; // NUL-terminated unless all 32 bytes are used
};

struct TPenData {
    int Style = PS_SOLID;
    int Width = 1;           // pixels; 0 counts as 1
    std::uint32_t Pixel = 0; // 0x00RRGGBB
};

struct TBrushData {
    int Style = BS_SOLID;
    std::uint32_t Pixel = 0xFFFFFF; // 0x00RRGGBB, for solid brushes
    // For pattern brushes: at most 8 × 8 pixels, tiled from the device origin of the context.
    std::shared_ptr<const TPixelBuffer> Pattern;
};

struct TFontData {
    LOGFONT Log;
    TFontRequest Request;
};

struct TBitmapData {
    std::shared_ptr<TPixelBuffer> Pixels;
    int SelectedInto = 0;        // number of memory contexts that have it selected
    bool DeleteWhenFree = false; // deletion was asked while selected; done on the last release
};

enum class TGdiKind : std::uint8_t { Brush, Pen, Font, Region, Bitmap };

struct TGdiObject {
    TGdiKind Kind = TGdiKind::Brush;
    bool Stock = false; // stock objects are never deleted
    std::variant<TBrushData, TPenData, TFontData, TRegion, TBitmapData> Data;
};

// The font a LOGFONT asks for, as the font engine understands it.
TFontRequest FontRequestFromLogFont(const LOGFONT& font);
LOGFONT LogFontFromRequest(const TFontRequest& request);

namespace gdi {

// Adds an object and returns its new handle. Handles are never reused.
HGDIOBJ Add(TGdiObject object);
TGdiObject* Find(HGDIOBJ handle);
template <typename T>
T* FindData(HGDIOBJ handle) {
    TGdiObject* object = Find(handle);
    return object ? std::get_if<T>(&object->Data) : nullptr;
}
// Removes an object. Stock objects stay and report success, as classic; a bitmap selected into
// a context is refused (false) unless deferred is true, in which case it goes when released.
bool Delete(HGDIOBJ handle, bool deferred = false);
// Live objects, stock ones included: lets tests prove that drawing leaks no handles.
std::size_t ObjectCount();

template <typename H>
H Typed(HGDIOBJ handle) {
    return static_cast<H>(handle);
}

} // namespace gdi
