#include "toolkit/graphics/Canvas.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/Graphic.h"

VARNEL_CLASS_INFO(TPen, [](auto& c) {
    c.Color("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
    c.Enum("Style", PenStyleInfo, &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Int("Width", &TPen::Width, &TPen::SetWidth).Default(1);
})
VARNEL_CLASS_INFO(TBrush, [](auto& c) {
    c.Color("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    c.Enum("Style", BrushStyleInfo, &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
})
VARNEL_CLASS_INFO(TCanvas)

namespace {

COLORREF RefOf(TColor color) {
    return static_cast<COLORREF>(ColorToRGB(color));
}

int PenStyleCode(TPenStyle style) {
    switch (style) {
    case psDash:
        return PS_DASH;
    case psDot:
        return PS_DOT;
    case psDashDot:
        return PS_DASHDOT;
    case psDashDotDot:
        return PS_DASHDOTDOT;
    case psClear:
        return PS_NULL;
    case psInsideFrame:
        return PS_INSIDEFRAME;
    default:
        return PS_SOLID;
    }
}

} // namespace

// ---- TPen ----

TPen::~TPen() {
    DeleteObject(m_handle);
}

void TPen::Changed() {
    DeleteObject(m_handle);
    m_handle = nullptr;
    if (OnChange) {
        OnChange(this);
    }
}

void TPen::SetColor(TColor color) {
    if (color != m_color) {
        m_color = color;
        Changed();
    }
}

void TPen::SetWidth(int width) {
    width = std::max(1, width);
    if (width != m_width) {
        m_width = width;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle style) {
    if (style != m_style) {
        m_style = style;
        Changed();
    }
}

HPEN TPen::Handle() {
    if (!m_handle) {
        m_handle = CreatePen(PenStyleCode(m_style), m_width, RefOf(m_color));
    }
    return m_handle;
}

void TPen::Assign(const TPersistent* source) {
    if (auto* pen = dynamic_cast<const TPen*>(source)) {
        if (pen->m_color != m_color || pen->m_width != m_width || pen->m_style != m_style) {
            m_color = pen->m_color;
            m_width = pen->m_width;
            m_style = pen->m_style;
            Changed();
        }
        return;
    }
    TPersistent::Assign(source);
}

// ---- TBrush ----

TBrush::TBrush() = default;

TBrush::~TBrush() {
    DeleteObject(m_handle);
}

void TBrush::Changed() {
    DeleteObject(m_handle);
    m_handle = nullptr;
    if (OnChange) {
        OnChange(this);
    }
}

void TBrush::SetColor(TColor color) {
    // A colour asks for a plain solid brush again, as classic.
    if (color != m_color || m_style == bsClear) {
        m_color = color;
        if (m_style == bsClear) {
            m_style = bsSolid;
        }
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style != m_style) {
        m_style = style;
        Changed();
    }
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) {
        if (m_bitmap) {
            m_bitmap.reset();
            Changed();
        }
        return;
    }
    if (bitmap == m_bitmap.get()) {
        return;
    }
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    m_bitmap = std::move(copy);
    Changed();
}

HBRUSH TBrush::Handle() {
    if (!m_handle) {
        if (m_bitmap) {
            m_handle = CreatePatternBrush(m_bitmap->Handle());
        } else if (m_style == bsClear) {
            LOGBRUSH clear;
            clear.lbStyle = BS_NULL;
            m_handle = CreateBrushIndirect(&clear);
        } else {
            m_handle = CreateSolidBrush(RefOf(m_color));
        }
    }
    return m_handle;
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* brush = dynamic_cast<const TBrush*>(source)) {
        m_color = brush->m_color;
        m_style = brush->m_style;
        if (brush->m_bitmap) {
            auto copy = std::make_unique<TBitmap>();
            copy->Assign(brush->m_bitmap.get());
            m_bitmap = std::move(copy);
        } else {
            m_bitmap.reset();
        }
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

// ---- TCanvas ----

TCanvas::TCanvas() = default;

TCanvas::TCanvas(HDC dc) : m_dc(dc) {}

// The context may outlive the canvas; it keeps copies of what was selected, so the handles can
// go without leaving it anything dangling.
TCanvas::~TCanvas() {
    DeleteObject(m_fontHandle);
}

void TCanvas::SetHandle(HDC dc) {
    m_dc = dc;
    // A new context has none of the canvas's objects yet.
    m_appliedPen = nullptr;
    m_appliedBrush = nullptr;
    m_appliedFont = nullptr;
}

HDC TCanvas::Handle() {
    if (!m_dc) {
        CreateHandle();
    }
    if (m_dc) {
        RequireState();
    }
    return m_dc;
}

// Only what changed on the canvas since it was last applied is applied again, so what code
// sets directly on the handle (a background mode, a text colour) stays until the canvas's own
// pen, brush or font changes.
void TCanvas::RequireState() {
    HPEN pen = m_pen.Handle();
    if (pen != m_appliedPen) {
        SelectObject(m_dc, pen);
        m_appliedPen = pen;
    }
    HBRUSH brush = m_brush.Handle();
    if (brush != m_appliedBrush) {
        SelectObject(m_dc, brush);
        m_dc->SetBkColor(RefOf(m_brush.Color()));
        m_dc->SetBkMode(m_brush.Style() == bsClear && !m_brush.Bitmap() ? TRANSPARENT : OPAQUE);
        m_appliedBrush = brush;
    }
    TFontRequest request = m_font.Request();
    if (!m_fontHandle || !(request == m_fontHandleRequest) || m_font.Charset() != m_fontHandleCharset) {
        LOGFONT log = LogFontFromRequest(request);
        log.lfCharSet = m_font.Charset();
        HFONT font = CreateFontIndirect(&log);
        DeleteObject(m_fontHandle);
        m_fontHandle = font;
        m_fontHandleRequest = request;
        m_fontHandleCharset = m_font.Charset();
    }
    if (m_fontHandle != m_appliedFont || m_font.Color() != m_appliedFontColor) {
        SelectObject(m_dc, m_fontHandle);
        m_dc->SetTextColor(RefOf(m_font.Color()));
        m_appliedFont = m_fontHandle;
        m_appliedFontColor = m_font.Color();
    }
}

TPoint TCanvas::PenPos() {
    HDC dc = Handle();
    return dc ? dc->CurrentPosition() : TPoint{};
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    ::LineTo(Handle(), x, y);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    ::Rectangle(Handle(), left, top, right, bottom);
}

void TCanvas::FillRect(const TRect& rect) {
    HDC dc = Handle();
    ::FillRect(dc, &rect, m_brush.Handle());
}

void TCanvas::FrameRect(const TRect& rect) {
    HDC dc = Handle();
    ::FrameRect(dc, &rect, m_brush.Handle());
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    ::RoundRect(Handle(), left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    ::Ellipse(Handle(), left, top, right, bottom);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    ::Polygon(Handle(), points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    ::Polyline(Handle(), points.data(), static_cast<int>(points.size()));
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    ::DrawFocusRect(Handle(), &rect);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    HDC dc = Handle();
    if (!dc) {
        return;
    }
    dc->TextOut(x, y, text);
    dc->MoveTo({x + dc->TextExtent(text).cx, y});
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
    HDC dc = Handle();
    unsigned options = ETO_CLIPPED;
    if (m_brush.Style() != bsClear || m_brush.Bitmap()) {
        options |= ETO_OPAQUE;
    }
    ::ExtTextOut(dc, x, y, options, &rect, text);
}

TSize TCanvas::TextExtent(std::string_view text) {
    TSize size;
    GetTextExtentPoint32(Handle(), text, &size);
    return size;
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
    if (graphic && !graphic->Empty() && Handle()) {
        graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
    }
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic* graphic) {
    if (graphic && !graphic->Empty() && Handle()) {
        graphic->Draw(*this, rect);
    }
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
    if (!source) {
        return;
    }
    HDC from = source->Handle();
    ::StretchBlt(Handle(), dest.Left, dest.Top, dest.Width(), dest.Height(), from, sourceRect.Left,
                 sourceRect.Top, sourceRect.Width(), sourceRect.Height(), m_copyMode);
}

TColor TCanvas::Pixels(int x, int y) {
    return static_cast<TColor>(GetPixel(Handle(), x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    SetPixel(Handle(), x, y, RefOf(color));
}

TRect TCanvas::ClipRect() {
    TRect r;
    GetClipBox(Handle(), &r);
    return r;
}
