#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Gdi.h"

#include <algorithm>

// The frame a form draws around its client area for the styles that have one: a raised border
// (wider when the form can be sized), a caption bar in the active or inactive caption colours with
// the title, and boxes for closing, maximising and minimising. Everything follows the window's
// current style bits, so a style changed from outside (a skin removing the caption) takes effect
// at the next frame change.

namespace {

struct TFrameMetrics {
    int Border = 0;  // width of the border on every side
    int Caption = 0; // height of the caption bar below the top border, 0 without one
};

TFrameMetrics FrameMetrics(DWORD style, DWORD exStyle) {
    TFrameMetrics m;
    if (style & WS_THICKFRAME) {
        m.Border = ::GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        m.Border = ::GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        m.Border = ::GetSystemMetrics(SM_CXBORDER);
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        m.Caption = ::GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    }
    return m;
}

// The boxes in the caption bar, right to left: close, maximise, minimise.
struct TFrameButtons {
    TRect Close;
    TRect Maximize;
    TRect Minimize;
};

TFrameButtons FrameButtons(DWORD style, const TFrameMetrics& m, int windowWidth) {
    TFrameButtons b;
    if (m.Caption <= 4 || !(style & WS_SYSMENU)) {
        return b;
    }
    const int height = m.Caption - 4;
    const int width = height + 2;
    const int top = m.Border + 2;
    int right = windowWidth - m.Border - 2;
    b.Close = {right - width, top, right, top + height};
    right = b.Close.Left - 2;
    if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
        b.Maximize = {right - width, top, right, top + height};
        b.Minimize = {b.Maximize.Left - width, top, b.Maximize.Left, top + height};
    }
    return b;
}

void Fill(HDC dc, const TRect& r, int sysColor) {
    ::FillRect(dc, &r, ::GetSysColorBrush(sysColor));
}

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void Edge(HDC dc, const TRect& r, int topLeft, int bottomRight) {
    if (r.IsEmpty()) {
        return;
    }
    Fill(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void PaintButton(HDC dc, const TRect& r, int hit, bool pressed, bool zoomed) {
    if (r.IsEmpty()) {
        return;
    }
    Fill(dc, r, COLOR_BTNFACE);
    Edge(dc, r, pressed ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT,
         pressed ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW);
    Edge(dc, r.Inflate(-1, -1), pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE,
         pressed ? COLOR_BTNFACE : COLOR_BTNSHADOW);
    const int shift = pressed ? 1 : 0;
    const int w = r.Width();
    const int h = r.Height();
    const int size = std::max(4, std::min(w, h) - 8);
    const int x = r.Left + (w - size) / 2 + shift;
    const int y = r.Top + (h - size) / 2 + shift;
    HPEN pen = ::CreatePen(PS_SOLID, 1, 0);
    HPEN old = static_cast<HPEN>(::SelectObject(dc, pen));
    switch (hit) {
    case HTCLOSE:
        for (int d = 0; d < 2; ++d) {
            Line(dc, x + d, y, x + size + d, y + size);
            Line(dc, x + size - 1 + d, y, x - 1 + d, y + size);
        }
        break;
    case HTMAXBUTTON:
        if (zoomed) {
            const int s = size - 2;
            ::Rectangle(dc, x + 2, y, x + 2 + s, y + s);
            Line(dc, x + 2, y + 1, x + 2 + s, y + 1);
            ::Rectangle(dc, x, y + 2, x + s, y + 2 + s);
            Line(dc, x, y + 3, x + s, y + 3);
        } else {
            ::Rectangle(dc, x, y, x + size, y + size);
            Line(dc, x, y + 1, x + size, y + 1);
        }
        break;
    case HTMINBUTTON:
        Line(dc, x, y + size - 2, x + size - 2, y + size - 2);
        Line(dc, x, y + size - 1, x + size - 2, y + size - 1);
        break;
    default:
        break;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

} // namespace

TRect TCustomForm::NonClientMargins(DWORD style, DWORD exStyle) const {
    const TFrameMetrics m = FrameMetrics(style, exStyle);
    const int band = BorderWidth();
    TRect margins{m.Border + band, m.Border + m.Caption + band, m.Border + band, m.Border + band};
    if (style & WS_VSCROLL) {
        margins.Right += ::GetSystemMetrics(SM_CXVSCROLL);
    }
    if (style & WS_HSCROLL) {
        margins.Bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    }
    return margins;
}

void TCustomForm::UpdateWindowStyle() {
    if (!HandleAllocated()) {
        return;
    }
    const HWND handle = Handle();
    TCreateParams params;
    MeasureParams(params);
    constexpr DWORD kKept =
        WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL | WS_CHILD;
    const auto current = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE));
    ::SetWindowLongPtr(handle, GWL_STYLE, static_cast<LONG_PTR>((params.Style & ~kKept) | (current & kKept)));
    ::SetWindowLongPtr(handle, GWL_EXSTYLE, static_cast<LONG_PTR>(params.ExStyle));
    ::SetWindowPos(handle, 0, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(handle, nullptr, 0, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

void TCustomForm::WMStyleChanged(TMessage& message) {
    DefaultHandler(message);
    if (!HandleAllocated()) {
        return;
    }
    // A style changed from outside that changes the frame takes effect now.
    const HWND handle = Handle();
    RECT window;
    RECT client;
    ::GetWindowRect(handle, &window);
    ::GetClientRect(handle, &client);
    POINT origin{0, 0};
    ::ClientToScreen(handle, &origin);
    const TRect actual{origin.X - window.Left, origin.Y - window.Top, window.Right - origin.X - client.Right,
                       window.Bottom - origin.Y - client.Bottom};
    const TRect wanted = NonClientMargins(static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE)),
                                          static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_EXSTYLE)));
    if (!(actual == wanted)) {
        ::SetWindowPos(handle, 0, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void TCustomForm::WMNCCalcSize(TMessage& message) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    if (!params || !HandleAllocated()) {
        DefaultHandler(message);
        return;
    }
    const HWND handle = Handle();
    const TRect m = NonClientMargins(static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE)),
                                     static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_EXSTYLE)));
    RECT& r = params->rgrc[0];
    r.Left += m.Left;
    r.Top += m.Top;
    r.Right = std::max(r.Left, r.Right - m.Right);
    r.Bottom = std::max(r.Top, r.Bottom - m.Bottom);
    message.Result = 0;
}

void TCustomForm::WMNCPaint(TMessage& message) {
    TWinControl::WMNCPaint(message);
    PaintFrame();
}

void TCustomForm::PaintFrame() {
    if (!HandleAllocated()) {
        return;
    }
    const HWND handle = Handle();
    const auto style = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_EXSTYLE));
    const TFrameMetrics m = FrameMetrics(style, exStyle);
    if (m.Border == 0 && m.Caption == 0) {
        return;
    }
    RECT window;
    ::GetWindowRect(handle, &window);
    const int w = window.Width();
    const int h = window.Height();
    HDC dc = ::GetWindowDC(handle);
    if (!dc) {
        return;
    }
    ::ExcludeClipRect(dc, m.Border, m.Border + m.Caption, w - m.Border, h - m.Border);
    const TRect all{0, 0, w, h};
    if (m.Border == 1) {
        Edge(dc, all, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    } else {
        Fill(dc, all, COLOR_BTNFACE);
        Edge(dc, all, COLOR_BTNFACE, COLOR_3DDKSHADOW);
        Edge(dc, all.Inflate(-1, -1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    if (m.Caption > 0) {
        const TRect caption{m.Border, m.Border, w - m.Border, m.Border + m.Caption};
        Fill(dc, caption, m_frameActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        const TFrameButtons buttons = FrameButtons(style, m, w);
        const bool zoomed = ::IsZoomed(handle) != 0;
        PaintButton(dc, buttons.Close, HTCLOSE, m_pressedFrameButton == HTCLOSE, zoomed);
        PaintButton(dc, buttons.Maximize, HTMAXBUTTON, m_pressedFrameButton == HTMAXBUTTON, zoomed);
        PaintButton(dc, buttons.Minimize, HTMINBUTTON, m_pressedFrameButton == HTMINBUTTON, zoomed);
        int textRight = caption.Right - 2;
        for (const TRect& b : {buttons.Close, buttons.Maximize, buttons.Minimize}) {
            if (!b.IsEmpty()) {
                textRight = std::min(textRight, b.Left - 2);
            }
        }
        TRect text{caption.Left + 4, caption.Top, textRight, caption.Bottom};
        NONCLIENTMETRICS metrics;
        HFONT font = nullptr;
        if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            font = ::CreateFontIndirect((exStyle & WS_EX_TOOLWINDOW) ? &metrics.lfSmCaptionFont
                                                                     : &metrics.lfCaptionFont);
        }
        const int saved = ::SaveDC(dc);
        if (font) {
            ::SelectObject(dc, font);
        }
        ::IntersectClipRect(dc, text.Left, text.Top, text.Right, text.Bottom);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(
            dc, static_cast<COLORREF>(ColorToRGB(m_frameActive ? clCaptionText : clInactiveCaptionText)));
        ::DrawText(dc, Text(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        ::RestoreDC(dc, saved);
        if (font) {
            ::DeleteObject(font);
        }
    }
    ::ReleaseDC(handle, dc);
}

int TCustomForm::FrameHitTest(TPoint p) {
    const HWND handle = Handle();
    const auto style = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_EXSTYLE));
    const TFrameMetrics m = FrameMetrics(style, exStyle);
    RECT window;
    ::GetWindowRect(handle, &window);
    const int w = window.Width();
    const int h = window.Height();
    if (m.Caption > 0) {
        const TRect caption{m.Border, m.Border, w - m.Border, m.Border + m.Caption};
        if (caption.Contains(p)) {
            const TFrameButtons buttons = FrameButtons(style, m, w);
            if (buttons.Close.Contains(p)) {
                return HTCLOSE;
            }
            if (buttons.Maximize.Contains(p)) {
                return (style & WS_MAXIMIZEBOX) ? HTMAXBUTTON : HTCAPTION;
            }
            if (buttons.Minimize.Contains(p)) {
                return (style & WS_MINIMIZEBOX) ? HTMINBUTTON : HTCAPTION;
            }
            return HTCAPTION;
        }
    }
    if (!(style & WS_THICKFRAME) || ::IsZoomed(handle)) {
        return HTBORDER;
    }
    // The corners answer along a caption's height of each edge, as the classic frame does.
    const int corner = std::max(m.Border, ::GetSystemMetrics(SM_CYCAPTION));
    const bool left = p.X < m.Border;
    const bool right = p.X >= w - m.Border;
    const bool top = p.Y < m.Border;
    const bool bottom = p.Y >= h - m.Border;
    if (left || right) {
        if (p.Y < corner) {
            return left ? HTTOPLEFT : HTTOPRIGHT;
        }
        if (p.Y >= h - corner) {
            return left ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
        }
        return left ? HTLEFT : HTRIGHT;
    }
    if (top || bottom) {
        if (p.X < corner) {
            return top ? HTTOPLEFT : HTBOTTOMLEFT;
        }
        if (p.X >= w - corner) {
            return top ? HTTOPRIGHT : HTBOTTOMRIGHT;
        }
        return top ? HTTOP : HTBOTTOM;
    }
    return HTBORDER;
}

void TCustomForm::WMNCHitTest(TMessage& message) {
    DefaultHandler(message);
    if (message.Result != HTBORDER || !HandleAllocated()) {
        return;
    }
    RECT window;
    ::GetWindowRect(Handle(), &window);
    const TPoint screen = LParamToPoint(message.LParam);
    message.Result = FrameHitTest({screen.X - window.Left, screen.Y - window.Top});
}

void TCustomForm::WMNCActivate(TMessage& message) {
    m_frameActive = message.WParam != 0;
    PaintFrame();
    message.Result = TRUE;
}

void TCustomForm::WMNCLButtonDown(TMessage& message) {
    const int hit = static_cast<int>(static_cast<std::intptr_t>(message.WParam));
    if ((hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON) && HandleAllocated()) {
        // The box acts when the button is released on it; the mouse is held until then.
        m_pressedFrameButton = hit;
        ::SetCapture(Handle());
        PaintFrame();
        return;
    }
    DefaultHandler(message);
}

bool TCustomForm::FrameButtonReleased(TMessage& message) {
    const int pressed = m_pressedFrameButton;
    if (pressed == 0 || !HandleAllocated()) {
        return false;
    }
    m_pressedFrameButton = 0;
    const HWND handle = Handle();
    if (::GetCapture() == handle) {
        ::ReleaseCapture();
    }
    PaintFrame();
    if (message.Msg != WM_LBUTTONUP) {
        return true;
    }
    POINT p = LParamToPoint(message.LParam);
    ::ClientToScreen(handle, &p);
    RECT window;
    ::GetWindowRect(handle, &window);
    if (FrameHitTest({p.X - window.Left, p.Y - window.Top}) != pressed) {
        return true;
    }
    switch (pressed) {
    case HTCLOSE:
        ::SendMessage(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case HTMAXBUTTON:
        ::SendMessage(handle, WM_SYSCOMMAND, ::IsZoomed(handle) ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case HTMINBUTTON:
        ::SendMessage(handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    default:
        break;
    }
    return true;
}

void TCustomForm::WMSetText(TMessage& message) {
    TWinControl::WMSetText(message);
    PaintFrame();
}
