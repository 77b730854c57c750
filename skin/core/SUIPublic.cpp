#include "skin/core/SUIPublic.h"

#include "skin/core/SUIMgr.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The key colour of the skin bitmaps, as the drawing calls take it (0x00BBGGRR).
constexpr COLORREF kMagenta = 0xFF00FF;

HDC SourceDC(const TBitmap* bitmap) {
    return &bitmap->DeviceContext();
}

// The corner of size cw × ch cut from source rectangle s, keeping the side named by keepRight
// and keepBottom: the outer corner pixels always stay.
TRect TrimCorner(const TRect& s, int cw, int ch, bool keepRight, bool keepBottom) {
    const int left = keepRight ? s.Right - cw : s.Left;
    const int top = keepBottom ? s.Bottom - ch : s.Top;
    return {left, top, left + cw, top + ch};
}

} // namespace

bool IsFormComponent(const TComponent* component) {
    return dynamic_cast<const TCustomForm*>(component) != nullptr;
}

bool ApplyStyleToComponent(TComponent* component, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    if (!component) {
        return false;
    }
    const TClassInfo& info = component->ClassInfo();
    const TPropInfo* themeProp = info.FindProperty("FileTheme");
    const TPropInfo* styleProp = info.FindProperty("UIStyle");
    if (!themeProp || !styleProp || themeProp->Kind() != TPropKind::Component || !themeProp->CanWrite() ||
        !styleProp->CanWrite()) {
        return false;
    }
    // The theme first: the component resolves its look from both when UIStyle is set.
    if (!themeProp->SetObject(component, static_cast<TObject*>(fileTheme))) {
        return false;
    }
    styleProp->SetOrd(component, style);
    return true;
}

void ApplyStyleToChildren(TWinControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    if (!container) {
        return;
    }
    // By index, re-read every round: a child that restyles itself may add or remove controls,
    // and the container itself may go (a child's handler closing the form).
    auto alive = container->AliveToken();
    for (int i = 0; !alive.expired() && i < container->ControlCount(); ++i) {
        ApplyStyleToComponent(container->Controls(i), style, fileTheme);
    }
}

std::optional<TsuiUIStyle> SkinnedFormUIStyle(const TComponent* component) {
    if (!component || !component->InheritsFrom("TsuiForm")) {
        return std::nullopt;
    }
    const TPropInfo* prop = component->ClassInfo().FindProperty("UIStyle");
    if (!prop || prop->Kind() != TPropKind::Enumeration) {
        return std::nullopt;
    }
    const std::int64_t value = prop->GetOrd(component);
    if (value < FromThemeFile || value > BlueGlass) {
        return std::nullopt;
    }
    return static_cast<TsuiUIStyle>(value);
}

void SliceBitmap(const TBitmap* source, TBitmap* dest, int count, int index) {
    if (!source || !dest || count < 1 || index < 1 || index > count) {
        return;
    }
    const int frameWidth = source->Width() / count;
    const int height = source->Height();
    const int left = frameWidth * (index - 1);
    // A strip narrower than its frames (a theme file may hold one) gives empty frames, whose
    // rows have no pixels to copy.
    const int rows = frameWidth > 0 ? height : 0;
    // Through a temporary bitmap, so that slicing a bitmap into itself reads before it writes.
    TBitmap frame(frameWidth, height);
    for (int y = 0; y < rows; ++y) {
        std::memcpy(frame.ScanLine(y), source->ScanLine(y) + left, sizeof(std::uint32_t) * frameWidth);
    }
    dest->SetSize(frameWidth, height);
    for (int y = 0; y < rows; ++y) {
        std::memcpy(dest->ScanLine(y), frame.ScanLine(y), sizeof(std::uint32_t) * frameWidth);
    }
    dest->Modified();
}

TKeepCornersPieces KeepCornersPieces(int W, int H, const TRect& rect) {
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    const int w = R - L, h = B - T;
    const int hw = W / 2, hh = H / 2, dw2 = w / 2, dh2 = h / 2;

    // A corner is the smaller of its source rectangle and its destination quarter in each
    // direction. Its rectangle is kept even when one side is 0, so the edges always have a
    // corner to lie against: a skipped corner is a line at the place it would have started.
    auto corner = [&](const TRect& s, const TRect& quarter, bool right, bool bottom) {
        const int cw = std::max(0, std::min(s.Width(), quarter.Width()));
        const int ch = std::max(0, std::min(s.Height(), quarter.Height()));
        const int x = right ? R - cw : L;
        const int y = bottom ? B - ch : T;
        return TKeepCornersPiece{TKeepCornersPiece::Corner, TrimCorner(s, cw, ch, right, bottom),
                                 TRect{x, y, x + cw, y + ch}, cw == 0 || ch == 0};
    };
    const TKeepCornersPiece tl = corner({0, 0, hw, hh}, {L, T, L + dw2, T + dh2}, false, false);
    const TKeepCornersPiece bl =
        corner({0, H - hh + 1, hw, H}, {L, T + h - dh2 + 1, L + dw2, B}, false, true);
    const TKeepCornersPiece tr =
        corner({W - hw + 1, 0, W, hh}, {L + w - dw2 + 1, T, R, T + dh2}, true, false);
    const TKeepCornersPiece br =
        corner({W - hw + 1, H - hh + 1, W, H}, {L + w - dw2 + 1, T + h - dh2 + 1, R, B}, true, true);

    // With an even source height the left edge's and the centre's bands (hh to H - hh) are
    // empty; they take the one row hh instead, the row between the upper and lower corners, so
    // the middle of the face is not left unpainted.
    const int middleBottom = std::max(H - hh, std::min(hh + 1, H));

    // An edge thinner than its source band takes the part of the band named (left, right, top
    // or bottom), as the corners beside it do.
    auto edge = [](TKeepCornersPiece::TKind kind, TRect s, const TRect& d, char keep) {
        if (keep == 'l' && d.Width() < s.Width()) {
            s.Right = s.Left + std::max(0, d.Width());
        } else if (keep == 'r' && d.Width() < s.Width()) {
            s.Left = s.Right - std::max(0, d.Width());
        } else if (keep == 't' && d.Height() < s.Height()) {
            s.Bottom = s.Top + std::max(0, d.Height());
        } else if (keep == 'b' && d.Height() < s.Height()) {
            s.Top = s.Bottom - std::max(0, d.Height());
        }
        const bool skipped = s.Width() <= 0 || s.Height() <= 0 || d.Width() <= 0 || d.Height() <= 0;
        return TKeepCornersPiece{kind, s, d, skipped};
    };
    using P = TKeepCornersPiece;
    return {
        tl,
        bl,
        edge(P::Edge, {0, hh, hw, middleBottom}, {L, tl.Dest.Bottom, tl.Dest.Right, bl.Dest.Top}, 'l'),
        tr,
        br,
        edge(P::Edge, {W - hw + 1, H - hh, W, hh + 2},
             {tr.Dest.Left, tr.Dest.Bottom, tr.Dest.Right, br.Dest.Top}, 'r'),
        edge(P::Edge, {hw, 0, W - hw + 1, hh}, {tl.Dest.Right, T, tr.Dest.Left, tl.Dest.Bottom}, 't'),
        edge(P::Centre, {hw, hh, W - hw + 1, middleBottom},
             {tl.Dest.Right, tl.Dest.Bottom, tr.Dest.Left, br.Dest.Top - 1}, ' '),
        edge(P::Edge, {hw, H - hh, W - hw + 1, H},
             {tl.Dest.Right - 1, bl.Dest.Top - 1, br.Dest.Left, br.Dest.Bottom}, 'b'),
    };
}

void DrawBitmapKeepCorners(const TBitmap* source, TCanvas* canvas, const TRect& rect, bool transparent) {
    if (!source || !canvas || source->Empty()) {
        return;
    }
    HDC dc = canvas->Handle();
    HDC src = SourceDC(source);
    const TRect bounds{0, 0, source->Width(), source->Height()};
    for (const TKeepCornersPiece& piece : KeepCornersPieces(source->Width(), source->Height(), rect)) {
        // A source of one pixel in a direction gives bands that reach past its edge; only the
        // part inside the bitmap is stretched.
        const TRect s = IntersectRects(piece.Source, bounds);
        const TRect& d = piece.Dest;
        if (piece.Skipped || s.IsEmpty()) {
            continue;
        }
        if (piece.Kind == TKeepCornersPiece::Corner && !transparent) {
            ::BitBlt(dc, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, SRCCOPY);
        } else {
            // Corners are copied 1:1, edges and the centre stretched; both leave out the key.
            ::TransparentBlt(dc, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(),
                             s.Height(), kMagenta);
        }
    }
}

void DrawThreePartBitmap(const TBitmap* bitmap, TCanvas* canvas, const TRect& rect, bool useCornerColor) {
    if (!bitmap || !canvas || bitmap->Empty()) {
        return;
    }
    const int fw = bitmap->Width() / 3;
    const int height = bitmap->Height();
    if (fw == 0) {
        return;
    }
    const COLORREF key =
        useCornerColor ? static_cast<COLORREF>(PixelToColor(bitmap->Pixels().At(0, 0))) : kMagenta;
    HDC dc = canvas->Handle();
    HDC src = SourceDC(bitmap);
    ::TransparentBlt(dc, rect.Left, rect.Top, fw, height, src, 0, 0, fw, height, key);
    ::TransparentBlt(dc, rect.Right - fw, rect.Top, fw, height, src, 2 * fw, 0, fw, height, key);
    const int middleWidth = rect.Width() - 2 * fw;
    if (middleWidth > 0 && rect.Height() > 0) {
        ::StretchBlt(dc, rect.Left + fw, rect.Top, middleWidth, rect.Height(), src, fw, 0, fw, height,
                     SRCCOPY);
    }
}

void TileDrawPicture(TCanvas* canvas, const TPicture* picture, const TRect& rect) {
    if (!canvas || !picture || picture->Empty()) {
        return;
    }
    const int pw = picture->Width();
    const int ph = picture->Height();
    for (int x = 0; x < pw + rect.Width(); x += pw) {
        for (int y = 0; y < ph + rect.Height(); y += ph) {
            canvas->Draw(x, y, picture->Graphic());
        }
    }
}

namespace {

// Turns bitmap a quarter: the new bitmap is height × width, and pixel (i, j) of it comes from
// the old pixel sourceOf(i, j).
template <typename F>
void Turn(TBitmap* bitmap, F sourceOf) {
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    TPixelBuffer turned(height, width);
    for (int j = 0; j < width; ++j) {
        for (int i = 0; i < height; ++i) {
            const TPoint from = sourceOf(i, j, width, height);
            turned.Set(i, j, bitmap->Pixels().At(from.X, from.Y));
        }
    }
    bitmap->SetSize(height, width);
    std::copy(turned.Pixels().begin(), turned.Pixels().end(), bitmap->Pixels().Pixels().begin());
    bitmap->Modified();
}

} // namespace

void RotateBitmapAnticlockwise(TBitmap* bitmap) {
    if (!bitmap) {
        return;
    }
    // Source pixel (x, y) goes to (y, width - 1 - x).
    Turn(bitmap, [](int i, int j, int width, int) { return TPoint{width - 1 - j, i}; });
}

void RotateBitmapClockwise(TBitmap* bitmap) {
    if (!bitmap) {
        return;
    }
    // New pixel (i, j) takes source pixel (j, height - 1 - i).
    Turn(bitmap, [](int i, int j, int, int height) { return TPoint{j, height - 1 - i}; });
}

void GetWorkAreaRect(TRect& rect) {
    RECT area{};
    if (::SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0)) {
        rect = area;
    }
}

void DrawControlBorder(HWND window, TColor outer, TColor inner, bool drawInner) {
    RECT bounds{};
    if (!::GetWindowRect(window, &bounds)) {
        return;
    }
    HDC dc = ::GetWindowDC(window);
    if (!dc) {
        return;
    }
    const TRect frame{0, 0, bounds.Width(), bounds.Height()};
    HBRUSH outerBrush = ::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(outer)));
    ::FrameRect(dc, &frame, outerBrush);
    ::DeleteObject(outerBrush);
    if (drawInner) {
        const TRect innerFrame = frame.Inflate(-1, -1);
        HBRUSH innerBrush = ::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(inner)));
        ::FrameRect(dc, &innerFrame, innerBrush);
        ::DeleteObject(innerBrush);
    }
    ::ReleaseDC(window, dc);
}

void DrawParentBackground(TCanvas* canvas, HWND parent, TPoint position) {
    if (!canvas || !::IsWindow(parent)) {
        return;
    }
    HDC dc = canvas->Handle();
    const int saved = ::SaveDC(dc);
    ::OffsetViewportOrgEx(dc, -position.X, -position.Y, nullptr);
    RECT client{};
    ::GetClientRect(parent, &client);
    ::IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    ::SendMessage(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessage(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::RestoreDC(dc, saved);
}

void DrawControlBorder(TWinControl* control, TColor outer, TColor inner, bool drawInner) {
    if (control && control->HandleAllocated()) {
        DrawControlBorder(control->Handle(), outer, inner, drawInner);
    }
}

namespace {

// The controls whose parent is painting under them right now. A windowless control is one of the
// controls its parent paints, so without this its parent's painting would ask it to paint again,
// and it would ask its parent again, without end. The inner request paints nothing; the control
// then paints over what the outer request left.
std::vector<const TControl*>& ControlsUnderParentPaint() {
    static std::vector<const TControl*> controls;
    return controls;
}

} // namespace

void DrawParentBackground(TCanvas* canvas, const TControl* control) {
    if (!canvas || !control || !control->Parent()) {
        return;
    }
    auto& busy = ControlsUnderParentPaint();
    if (std::find(busy.begin(), busy.end(), control) != busy.end()) {
        return;
    }
    busy.push_back(control);
    TWinControl* parent = control->Parent();
    const TPoint position{control->Left(), control->Top()};
    if (parent->HandleAllocated()) {
        // Through the window procedure, so that a procedure that replaced the parent's (a skinned
        // form paints its own background) is the one that paints.
        DrawParentBackground(canvas, parent->Handle(), position);
    } else {
        HDC dc = canvas->Handle();
        const int saved = ::SaveDC(dc);
        ::OffsetViewportOrgEx(dc, -position.X, -position.Y, nullptr);
        ::IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        auto alive = parent->AliveToken();
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        if (!alive.expired()) {
            parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        }
        ::RestoreDC(dc, saved);
    }
    busy.erase(std::find(busy.begin(), busy.end(), control));
}

void DrawControlGround(TCanvas* canvas, const TControl* control, bool transparent) {
    if (!canvas || !control) {
        return;
    }
    if (transparent) {
        DrawParentBackground(canvas, control);
        return;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(control->Color());
    canvas->FillRect(control->ClientRect());
}

bool IsFormActive(const TCustomForm* form) {
    const TCustomForm* mainForm = Application->MainForm();
    if (!mainForm) {
        // No form at all is not active while the application has no main form to stand for it.
        return form && form->Active();
    }
    const bool mdiFrame = mainForm->FormStyle() == fsMDIForm;
    if (mdiFrame && form == mainForm) {
        return true;
    }
    if (!Application->Active()) {
        return false;
    }
    if (!form || form == mainForm) {
        return true;
    }
    if (mdiFrame) {
        const HWND client = mainForm->ClientHandle();
        const HWND activeChild = client ? static_cast<HWND>(::SendMessage(client, WM_MDIGETACTIVE, 0, 0)) : 0;
        auto* window = const_cast<TCustomForm*>(form);
        if (activeChild && window->HandleAllocated() && activeChild == window->Handle()) {
            return true;
        }
    }
    return form->Active();
}

void SetFormBoundsRect(TCustomForm* form, const TRect& rect) {
    if (!form) {
        return;
    }
    form->SetLeft(rect.Left);
    form->SetTop(rect.Top);
    form->SetWidth(rect.Right - rect.Left);
    form->SetHeight(rect.Bottom - rect.Top);
}

void MoveControlTo(TControl* control, TPoint point) {
    if (!control) {
        return;
    }
    control->SetLeft(point.X);
    control->SetTop(point.Y);
}
