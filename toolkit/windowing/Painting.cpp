#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// Every top-level window owns one surface; its whole tree paints into it through device
// contexts whose system clip is the visible part of the painting window. Update regions are kept
// per window in window coordinates. Invalidating a window also invalidates its children unless it
// clips them (WS_CLIPCHILDREN), and the queue hands out WM_PAINT parents first, so a parent that
// paints over its children is painted over by them in turn. What DCs touched is collected per
// surface and presented when the loop goes idle, or at most about 60 times a second while the
// program paints without going idle.
//
// Sections: surfaces; visible regions; invalidation; WM_PAINT; device contexts; the screen DC;
// window shapes; presentation.

namespace {

constexpr std::int64_t kPresentIntervalMs = 16;

std::uint32_t SurfaceFill() {
    return ColorToPixel(clBtnFace);
}

} // namespace

// ---- Surfaces ------------------------------------------------------------------------------------

void TWindowSystem::InitPainting() {
    m_surfaces.clear();
}

void TWindowSystem::CreateSurface(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    if (!w || w->Parent || w->MessageOnly) {
        return;
    }
    auto surface = std::make_unique<TSurface>();
    surface->Pixels.Reset(w->Rect.Width(), w->Rect.Height(), SurfaceFill());
    m_surfaces[hwnd] = std::move(surface);
}

void TWindowSystem::ResizeSurface(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    auto it = m_surfaces.find(hwnd);
    if (!w || it == m_surfaces.end()) {
        return;
    }
    // Resized in place: device contexts keep pointing at the same buffer.
    it->second->Pixels.Resize(w->Rect.Width(), w->Rect.Height(), SurfaceFill());
    it->second->Changed = it->second->Changed.Intersect(it->second->Pixels.Bounds());
}

void TWindowSystem::ForgetSurface(HWND hwnd) {
    // Contexts of a window that goes away draw nothing from now on; those over its surface lose
    // their target as well.
    for (TDCRecord& record : m_dcs) {
        if (record.Window == hwnd || record.Top == hwnd) {
            record.Dc->SetSystemClip(TRegion());
            record.Drawable = TRegion();
        }
        if (record.Top == hwnd) {
            record.Dc->SetTarget(nullptr);
            record.Top = 0;
        }
    }
    m_surfaces.erase(hwnd);
}

void TWindowSystem::MarkSurfaceChanged(HWND hwnd) {
    auto it = m_surfaces.find(GetAncestor(hwnd, GA_ROOT));
    if (it != m_surfaces.end()) {
        it->second->Changed = TRegion(it->second->Pixels.Bounds());
    }
}

const TPixelBuffer* TWindowSystem::Surface(HWND topLevel) const {
    auto it = m_surfaces.find(topLevel);
    return it == m_surfaces.end() ? nullptr : &it->second->Pixels;
}

// ---- Visible regions ---------------------------------------------------------------------------------

TRegion TWindowSystem::VisibleRegion(HWND hwnd, bool clientOnly) const {
    const TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly || !IsVisible(hwnd)) {
        return TRegion();
    }
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    const POINT topOrigin = WindowOrigin(top);
    auto toSurface = [&](POINT screen) { return POINT{screen.X - topOrigin.X, screen.Y - topOrigin.Y}; };
    // A window's own area in surface pixels, its shape included.
    auto windowArea = [&](const TWindow& win) {
        const POINT o = toSurface(WindowOrigin(win.Handle));
        TRegion area(Bounds(o.X, o.Y, win.Rect.Width(), win.Rect.Height()));
        if (win.Shape) {
            TRegion shape = *win.Shape;
            shape.Offset(o.X, o.Y);
            area = area.Intersect(shape);
        }
        return area;
    };

    TRegion region = windowArea(*w);
    if (clientOnly) {
        const POINT o = toSurface(ClientOrigin(hwnd));
        region = region.Intersect(Bounds(o.X, o.Y, w->Client.Width(), w->Client.Height()));
    }
    for (const TWindow* cur = w; cur->Parent;) {
        const TWindow* parent = Find(cur->Parent);
        const POINT o = toSurface(ClientOrigin(parent->Handle));
        region = region.Intersect(Bounds(o.X, o.Y, parent->Client.Width(), parent->Client.Height()));
        if (cur->Style & WS_CLIPSIBLINGS) {
            for (HWND s : parent->Children) {
                if (s == cur->Handle) {
                    break;
                }
                const TWindow* sibling = Find(s);
                if (sibling && (sibling->Style & WS_VISIBLE)) {
                    region = region.Subtract(windowArea(*sibling));
                }
            }
        }
        cur = parent;
    }
    if (w->Style & WS_CLIPCHILDREN) {
        for (HWND c : w->Children) {
            const TWindow* child = Find(c);
            if (child && (child->Style & WS_VISIBLE)) {
                region = region.Subtract(windowArea(*child));
            }
        }
    }
    const TWindow* topWindow = Find(top);
    if (topWindow->Shape && top != hwnd) {
        region = region.Intersect(*topWindow->Shape);
    }
    return region.Intersect(TRect{0, 0, topWindow->Rect.Width(), topWindow->Rect.Height()});
}

// ---- Invalidation --------------------------------------------------------------------------------------

bool TWindowSystem::RedrawWindow(HWND hwnd, const TRegion* clientArea, UINT flags) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    const TRect whole{0, 0, w->Rect.Width(), w->Rect.Height()};
    TRegion area;
    if (!clientArea) {
        area = TRegion((flags & RDW_FRAME) ? whole : w->Client);
    } else {
        area = *clientArea;
        area.Offset(w->Client.Left, w->Client.Top);
        area = area.Intersect((flags & RDW_FRAME) ? whole : w->Client);
    }
    RedrawWindowArea(hwnd, area, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        UpdateWindow(hwnd);
    }
    return true;
}

void TWindowSystem::RedrawWindowArea(HWND hwnd, const TRegion& windowArea, UINT flags) {
    TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return;
    }
    const TRect whole{0, 0, w->Rect.Width(), w->Rect.Height()};
    if (flags & RDW_INVALIDATE) {
        // Nothing is collected for a hidden window: it is repainted whole when it is shown.
        if (!IsVisible(hwnd)) {
            return;
        }
        TRegion area = windowArea.Intersect(whole);
        w->Update = w->Update.Union(area.Intersect(w->Client));
        if (flags & RDW_ERASE) {
            w->EraseNeeded = true;
        }
        if ((flags & RDW_FRAME) && !area.Subtract(TRegion(w->Client)).IsEmpty()) {
            w->FrameNeeded = true;
        }
        m_maybeInvalid = true;
    } else if (flags & RDW_VALIDATE) {
        w->Update = w->Update.Subtract(windowArea);
        if (w->Update.IsEmpty() || (flags & RDW_NOERASE)) {
            w->EraseNeeded = false;
        }
        if (flags & RDW_NOFRAME) {
            w->FrameNeeded = false;
        }
    }
    if (flags & RDW_INTERNALPAINT) {
        w->InternalPaint = true;
        m_maybeInvalid = true;
    }
    if (flags & RDW_NOINTERNALPAINT) {
        w->InternalPaint = false;
    }

    const bool children =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->Style & WS_CLIPCHILDREN));
    if (!children || w->Children.empty()) {
        return;
    }
    // The children's share, in each child's window coordinates; their frames count too.
    TRegion inClient = windowArea.Intersect(w->Client);
    inClient.Offset(-w->Client.Left, -w->Client.Top);
    const std::vector<HWND> kids = w->Children;
    for (HWND c : kids) {
        const TWindow* child = Find(c);
        if (!child || !(child->Style & WS_VISIBLE)) {
            continue;
        }
        TRegion part = inClient.Intersect(child->Rect);
        if (part.IsEmpty()) {
            continue;
        }
        part.Offset(-child->Rect.Left, -child->Rect.Top);
        RedrawWindowArea(c, part, (flags & ~RDW_NOCHILDREN) | ((flags & RDW_INVALIDATE) ? RDW_FRAME : 0));
    }
}

// The area a window covers in its parent (or, for a top-level window, the window itself) must be
// painted again: it moved, changed size, appeared or went away.
void TWindowSystem::InvalidateWindowArea(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return;
    }
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    if (const TWindow* parent = Find(w->Parent)) {
        TRegion area(w->Rect.Offset(parent->Client.Left, parent->Client.Top));
        RedrawWindowArea(parent->Handle, area, flags);
    } else {
        RedrawWindowArea(hwnd, TRegion(TRect{0, 0, w->Rect.Width(), w->Rect.Height()}), flags);
    }
}

void TWindowSystem::RedrawNonClient(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    if (!w || (w->Client == TRect{0, 0, w->Rect.Width(), w->Rect.Height()})) {
        return;
    }
    TRegion frame(TRect{0, 0, w->Rect.Width(), w->Rect.Height()});
    frame = frame.Subtract(TRegion(w->Client));
    RedrawWindowArea(hwnd, frame, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

// ---- WM_PAINT -------------------------------------------------------------------------------------------

bool TWindowSystem::NeedsPaint(const TWindow& w) const {
    return !w.Update.IsEmpty() || w.InternalPaint || w.FrameNeeded;
}

HWND TWindowSystem::FindWindowToPaintIn(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w || !(w->Style & WS_VISIBLE) || w->MessageOnly) {
        return 0;
    }
    if (NeedsPaint(*w)) {
        return hwnd;
    }
    for (HWND c : w->Children) {
        if (HWND found = FindWindowToPaintIn(c)) {
            return found;
        }
    }
    return 0;
}

HWND TWindowSystem::FindWindowToPaint(HWND filter) {
    if (!m_maybeInvalid) {
        return 0;
    }
    if (filter) {
        return IsVisible(filter) ? FindWindowToPaintIn(filter) : 0;
    }
    for (HWND t : m_topLevels) {
        const TWindow* w = Find(t);
        if (w && w->State == TShowState::Minimized) {
            continue;
        }
        if (HWND found = FindWindowToPaintIn(t)) {
            return found;
        }
    }
    m_maybeInvalid = false;
    return 0;
}

void TWindowSystem::UpdateWindow(HWND hwnd) {
    if (!IsVisible(hwnd)) {
        return;
    }
    // Parents first, then their children, each at most once per call: a procedure that keeps
    // invalidating itself is painted again by the loop, not here.
    std::vector<HWND> order{hwnd};
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (const TWindow* w = Find(order[i])) {
            order.insert(order.end(), w->Children.begin(), w->Children.end());
        }
    }
    for (HWND h : order) {
        const TWindow* w = Find(h);
        if (w && IsVisible(h) && NeedsPaint(*w)) {
            const unsigned before = w->BeginPaintCount;
            Send(h, WM_PAINT, 0, 0);
            ValidateAfterUnansweredPaint(h, before);
        }
    }
}

void TWindowSystem::ValidateAfterUnansweredPaint(HWND hwnd, unsigned beginPaintsBefore) {
    TWindow* w = Find(hwnd);
    if (!w || w->BeginPaintCount != beginPaintsBefore) {
        return;
    }
    // The procedure did not paint: validate for it, or WM_PAINT would come back forever.
    if (w->FrameNeeded) {
        w->FrameNeeded = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        w = Find(hwnd);
        if (!w) {
            return;
        }
    }
    w->Update = TRegion();
    w->EraseNeeded = false;
    w->InternalPaint = false;
}

HDC TWindowSystem::BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
    ps = {};
    TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return nullptr;
    }
    ++w->BeginPaintCount;
    if (w->FrameNeeded) {
        w->FrameNeeded = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        w = Find(hwnd);
        if (!w) {
            return nullptr;
        }
    }
    TRegion update = w->Update.Intersect(w->Client);
    update.Offset(-w->Client.Left, -w->Client.Top);
    const bool erase = w->EraseNeeded;
    w->Update = TRegion();
    w->EraseNeeded = false;
    w->InternalPaint = false;

    HDC dc = MakeDC(hwnd, true);
    if (!dc) {
        return nullptr;
    }
    TDCRecord& record = m_dcs.back();
    // The paint DC only reaches what needed painting.
    const POINT clientInSurface{dc->DeviceOrigin().X, dc->DeviceOrigin().Y};
    TRegion updateInSurface = update;
    updateInSurface.Offset(clientInSurface.X, clientInSurface.Y);
    record.Drawable = record.Drawable.Intersect(updateInSurface);
    dc->SetSystemClip(record.Drawable);

    ps.hdc = dc;
    ps.rcPaint = update.Bounds();
    ps.fErase = FALSE;
    if (erase) {
        ps.fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

void TWindowSystem::EndPaint(HWND hwnd, const PAINTSTRUCT& ps) {
    ReleaseDC(hwnd, ps.hdc);
}

void TWindowSystem::DefaultPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    if (BeginPaint(hwnd, ps)) {
        EndPaint(hwnd, ps);
    }
}

LRESULT TWindowSystem::EraseWithClassBackground(HWND hwnd, WPARAM dcParam) {
    const TWindow* w = Find(hwnd);
    HDC dc = reinterpret_cast<HDC>(dcParam);
    if (!w || !dc || !w->Class || w->Class->Background == clNone) {
        return 0;
    }
    TBrushData brush;
    brush.Style = BS_SOLID;
    brush.Pixel = ColorToPixel(w->Class->Background);
    dc->FillRect(TRect{0, 0, w->Client.Width(), w->Client.Height()}, brush);
    return 1;
}

bool TWindowSystem::GetUpdateRect(HWND hwnd, RECT& rect) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    TRegion update = w->Update.Intersect(w->Client);
    update.Offset(-w->Client.Left, -w->Client.Top);
    rect = update.Bounds();
    return !update.IsEmpty();
}

const TRegion* TWindowSystem::UpdateRegion(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    return w ? &w->Update : nullptr;
}

// ---- Device contexts ------------------------------------------------------------------------------------

HDC TWindowSystem::MakeDC(HWND hwnd, bool clientOnly) {
    const TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return nullptr;
    }
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    auto surface = m_surfaces.find(top);
    if (surface == m_surfaces.end()) {
        return nullptr;
    }
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = clientOnly ? ClientOrigin(hwnd) : WindowOrigin(hwnd);
    TDCRecord record;
    record.Dc = std::make_unique<TDeviceContext>(&surface->second->Pixels);
    record.Window = hwnd;
    record.Top = top;
    record.Drawable = VisibleRegion(hwnd, clientOnly);
    record.Dc->SetDeviceOrigin({origin.X - topOrigin.X, origin.Y - topOrigin.Y});
    record.Dc->SetSystemClip(record.Drawable);
    HDC dc = record.Dc.get();
    m_dcs.push_back(std::move(record));
    return dc;
}

HDC TWindowSystem::GetDC(HWND hwnd) {
    if (hwnd == 0 || hwnd == kDesktopWindow) {
        return MakeScreenDC();
    }
    return MakeDC(hwnd, true);
}

HDC TWindowSystem::GetWindowDC(HWND hwnd) {
    if (hwnd == 0 || hwnd == kDesktopWindow) {
        return MakeScreenDC();
    }
    return MakeDC(hwnd, false);
}

int TWindowSystem::ReleaseDC(HWND /*hwnd*/, HDC dc) {
    auto it = std::find_if(m_dcs.begin(), m_dcs.end(), [dc](const TDCRecord& r) { return r.Dc.get() == dc; });
    if (it == m_dcs.end()) {
        return 0;
    }
    TDCRecord record = std::move(*it);
    m_dcs.erase(it);
    if (record.Scratch) {
        FinishScreenDC(record);
    } else if (auto surface = m_surfaces.find(record.Top); surface != m_surfaces.end()) {
        // What the DC could reach is what may have changed.
        surface->second->Changed = surface->second->Changed.Union(record.Drawable);
    }
    PresentChanged(false);
    return 1;
}

// ---- The screen DC
// -----------------------------------------------------------------------------------------

// Drawing "on the screen" lands in the windows that are there: the DC draws on a composed copy of
// the screen part the program's windows cover, and when it is released every pixel that changed
// is written into the surface of the topmost window showing that pixel.
HDC TWindowSystem::MakeScreenDC() {
    TRect area;
    std::vector<HWND> visible; // front to back
    for (HWND t : m_topLevels) {
        const TWindow* w = Find(t);
        if (w && (w->Style & WS_VISIBLE) && w->State != TShowState::Minimized && m_surfaces.count(t)) {
            visible.push_back(t);
            area = UnionRects(area, w->Rect);
        }
    }
    area = IntersectRects(area, m_backend->ScreenRect());
    TDCRecord record;
    record.Scratch = std::make_unique<TPixelBuffer>(area.Width(), area.Height(), 0);
    record.Owner.assign(static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height()), -1);
    record.ScratchOrigin = area.TopLeft();
    record.ScreenOwners = visible;
    for (int i = static_cast<int>(visible.size()) - 1; i >= 0; --i) {
        const TWindow* w = Find(visible[static_cast<std::size_t>(i)]);
        const TPixelBuffer& pixels = m_surfaces[w->Handle]->Pixels;
        const TRect r = IntersectRects(w->Rect, area);
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                const int lx = x - w->Rect.Left;
                const int ly = y - w->Rect.Top;
                if (!pixels.Contains(lx, ly) || (w->Shape && !w->Shape->Contains(lx, ly))) {
                    continue;
                }
                const std::size_t index =
                    static_cast<std::size_t>(y - area.Top) * area.Width() + (x - area.Left);
                record.Scratch->Row(y - area.Top)[x - area.Left] = pixels.Row(ly)[lx];
                record.Owner[index] = i;
            }
        }
    }
    record.Before = std::make_unique<TPixelBuffer>(*record.Scratch);
    record.Dc = std::make_unique<TDeviceContext>(record.Scratch.get());
    record.Dc->SetDeviceOrigin({-area.Left, -area.Top});
    HDC dc = record.Dc.get();
    m_dcs.push_back(std::move(record));
    return dc;
}

void TWindowSystem::FinishScreenDC(TDCRecord& record) {
    const TPixelBuffer& after = *record.Scratch;
    const TPixelBuffer& before = *record.Before;
    std::vector<TRect> touched(record.ScreenOwners.size());
    for (int y = 0; y < after.Height(); ++y) {
        for (int x = 0; x < after.Width(); ++x) {
            if (after.Row(y)[x] == before.Row(y)[x]) {
                continue;
            }
            const int owner = record.Owner[static_cast<std::size_t>(y) * after.Width() + x];
            if (owner < 0) {
                continue;
            }
            const HWND hwnd = record.ScreenOwners[static_cast<std::size_t>(owner)];
            const TWindow* w = Find(hwnd);
            auto surface = m_surfaces.find(hwnd);
            if (!w || surface == m_surfaces.end()) {
                continue;
            }
            const int sx = x + record.ScratchOrigin.X;
            const int sy = y + record.ScratchOrigin.Y;
            const int lx = sx - w->Rect.Left;
            const int ly = sy - w->Rect.Top;
            if (surface->second->Pixels.Contains(lx, ly)) {
                surface->second->Pixels.Row(ly)[lx] = after.Row(y)[x];
                touched[static_cast<std::size_t>(owner)] =
                    UnionRects(touched[static_cast<std::size_t>(owner)], TRect{lx, ly, lx + 1, ly + 1});
            }
        }
    }
    for (std::size_t i = 0; i < touched.size(); ++i) {
        if (touched[i].IsEmpty()) {
            continue;
        }
        if (auto surface = m_surfaces.find(record.ScreenOwners[i]); surface != m_surfaces.end()) {
            surface->second->Changed = surface->second->Changed.Union(TRegion(touched[i]));
        }
    }
}

// ---- Window shapes
// ------------------------------------------------------------------------------------------

bool TWindowSystem::SetWindowRgn(HWND hwnd, std::optional<TRegion> shape, bool redraw) {
    TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return false;
    }
    const bool visible = IsVisible(hwnd);
    if (visible && redraw && w->Parent) {
        InvalidateWindowArea(hwnd); // the parent shows through where the old shape was
    }
    w->Shape = std::move(shape);
    ApplyWindowShape(hwnd);
    if (visible && redraw) {
        InvalidateWindowArea(hwnd);
    }
    return true;
}

const std::optional<TRegion>* TWindowSystem::WindowRgn(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    return w ? &w->Shape : nullptr;
}

void TWindowSystem::ApplyWindowShape(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    if (!w || w->Parent || w->MessageOnly) {
        return;
    }
    m_backend->SetNativeWindowShape(hwnd, w->Shape ? &*w->Shape : nullptr);
    // What the screen shows of the window changes with its shape.
    MarkSurfaceChanged(hwnd);
}

bool TWindowSystem::PointInWindowShape(HWND hwnd, POINT windowPoint) const {
    const TWindow* w = Find(hwnd);
    return w && (!w->Shape || w->Shape->Contains(windowPoint));
}

// ---- Presentation
// ------------------------------------------------------------------------------------------

void TWindowSystem::PresentChanged(bool force) {
    const std::int64_t now = Now();
    if (!force && now - m_lastPresent < kPresentIntervalMs) {
        return;
    }
    m_lastPresent = now;
    for (auto& [hwnd, surface] : m_surfaces) {
        if (surface->Changed.IsEmpty()) {
            continue;
        }
        const TWindow* w = Find(hwnd);
        if (!w || !(w->Style & WS_VISIBLE) || w->State == TShowState::Minimized) {
            continue;
        }
        const std::vector<TRect> rects = surface->Changed.Rects();
        surface->Changed = TRegion();
        m_backend->Present(hwnd, surface->Pixels, rects);
    }
}
