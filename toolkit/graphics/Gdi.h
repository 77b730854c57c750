#pragma once

#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GdiObjects.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/graphics/Types.h"

#include <cstdint>
#include <string_view>

// The classic drawing API, as free functions over device contexts and object handles. Each is a
// thin shell over TDeviceContext, where all drawing lives; a null context or a bad handle makes
// a call do nothing and report failure.

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
// The 1 × 1 bitmap a new memory context holds; for the contexts themselves.
constexpr int kStockDefaultBitmap = 64;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// GetObjectType answers.
constexpr int OBJ_PEN = 1;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_DC = 3;
constexpr int OBJ_FONT = 6;
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_REGION = 8;
constexpr int OBJ_MEMDC = 10;

struct BITMAP {
    int bmType = 0;
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    std::uint16_t bmPlanes = 1;
    std::uint16_t bmBitsPixel = 32;
    void* bmBits = nullptr;
};

struct LOGBRUSH {
    unsigned lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0;
};

struct LOGPEN {
    unsigned lopnStyle = PS_SOLID;
    TPoint lopnWidth;
    COLORREF lopnColor = 0;
};

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    int tmOverhang = 0;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmCharSet = 1;
};

// ---- Objects ----
HBRUSH CreateSolidBrush(COLORREF color);
// An 8 × 8 pattern from the bitmap's top-left corner (smaller bitmaps tile as they are); the
// brush keeps its own copy. None for an empty or bad bitmap.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
// A brush of a system colour index; a stock object, never deleted.
HBRUSH GetSysColorBrush(int index);
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* font);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A bitmap over pixels someone else also holds (a TBitmap's handle).
HBITMAP CreateBitmapOver(std::shared_ptr<TPixelBuffer> pixels);
HGDIOBJ GetStockObject(int index);
bool DeleteObject(HGDIOBJ object);
// Fills a BITMAP, LOGFONT, LOGPEN or LOGBRUSH; returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* out);
int GetObjectType(HGDIOBJ object);

// Selecting a pen, brush or font returns the previous one; a bitmap (memory contexts only)
// likewise; a region sets the clip and returns its complexity as a handle value, as classic.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HGDIOBJ GetCurrentObject(HDC dc, int type);

// ---- Contexts ----
// A memory context holding a 1 × 1 bitmap until one is selected; free it with DeleteDC.
HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int savedDC);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous);
bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous);
bool GetWindowOrgEx(HDC dc, TPoint* origin);
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous);

// ---- Clipping (regions in logical coordinates at the time of the call) ----
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, TRect* rect);
// 1 and the program's clip copied into region, 0 when there is none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
bool PtVisible(HDC dc, int x, int y);
bool RectVisible(HDC dc, const TRect* rect);

// ---- Attributes ----
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);

// ---- Drawing ----
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
bool InvertRect(HDC dc, const TRect* rect);
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
bool PaintRgn(HDC dc, HRGN region);
bool PatBlt(HDC dc, int x, int y, int width, int height, std::uint32_t rop);
bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
bool LineTo(HDC dc, int x, int y);
bool Polyline(HDC dc, const TPoint* points, int count);
bool Polygon(HDC dc, const TPoint* points, int count);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
bool BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, std::uint32_t rop);
bool StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sourceWidth,
                int sourceHeight, std::uint32_t rop);
bool TransparentBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sourceWidth,
                    int sourceHeight, COLORREF key);
bool DrawFocusRect(HDC dc, const TRect* rect);

// ---- Text (UTF-8) ----
bool TextOut(HDC dc, int x, int y, std::string_view text);
bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text);
bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size);
bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
int DrawText(HDC dc, std::string_view text, TRect* rect, unsigned format);
