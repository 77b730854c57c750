#include "toolkit/windowing/WinUser.h"

#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <cstring>

// The classic free functions, each a thin shell over the current window system.

namespace {

TWindowSystem* Sys() {
    return TWindowSystem::Current();
}

std::string Str(const char* s) {
    return s ? std::string(s) : std::string();
}

} // namespace

// ---- Classes and windows ------------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wc) {
    return Sys() && wc ? Sys()->RegisterClass(*wc) : 0;
}
BOOL UnregisterClass(const char* className) {
    return Sys() && Sys()->UnregisterClass(Str(className));
}
BOOL GetClassInfo(const char* className, WNDCLASS* wc) {
    return Sys() && wc && Sys()->GetClassInfo(Str(className), *wc);
}
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, LONG_PTR id, void* param) {
    return Sys() ? Sys()->CreateWindowEx(exStyle, Str(className), Str(windowName), style, x, y, width, height,
                                         parent, id, param)
                 : 0;
}
BOOL DestroyWindow(HWND hwnd) {
    return Sys() && Sys()->DestroyWindow(hwnd);
}
BOOL IsWindow(HWND hwnd) {
    return Sys() && Sys()->IsWindow(hwnd);
}
BOOL IsWindowVisible(HWND hwnd) {
    return Sys() && Sys()->IsVisible(hwnd);
}
BOOL IsWindowEnabled(HWND hwnd) {
    const TWindow* w = Sys() ? Sys()->Find(hwnd) : nullptr;
    return w && !(w->Style & WS_DISABLED);
}
BOOL IsChild(HWND parent, HWND child) {
    return Sys() && Sys()->IsChild(parent, child);
}
HWND GetParent(HWND hwnd) {
    return Sys() ? Sys()->GetParent(hwnd) : 0;
}
HWND SetParent(HWND child, HWND newParent) {
    return Sys() ? Sys()->SetParent(child, newParent) : 0;
}
HWND GetAncestor(HWND hwnd, UINT flags) {
    return Sys() ? Sys()->GetAncestor(hwnd, flags) : 0;
}
HWND GetWindow(HWND hwnd, UINT cmd) {
    return Sys() ? Sys()->GetWindow(hwnd, cmd) : 0;
}
HWND GetTopWindow(HWND hwnd) {
    if (!Sys()) {
        return 0;
    }
    if (hwnd == 0 || hwnd == TWindowSystem::kDesktopWindow) {
        const auto& tops = Sys()->TopLevelWindows();
        return tops.empty() ? 0 : tops.front();
    }
    return Sys()->GetWindow(hwnd, GW_CHILD);
}
HWND GetDesktopWindow() {
    return TWindowSystem::kDesktopWindow;
}
LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    return Sys() ? Sys()->GetWindowLongPtr(hwnd, index) : 0;
}
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    return Sys() ? Sys()->SetWindowLongPtr(hwnd, index, value) : 0;
}
LONG GetWindowLong(HWND hwnd, int index) {
    return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}
LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    // Styles are unsigned 32-bit values: keep them from being sign-extended into the wider slot.
    const LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                              ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                              : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtr(hwnd, index, wide));
}
UINT GetClassStyle(HWND hwnd) {
    const TWindow* w = Sys() ? Sys()->Find(hwnd) : nullptr;
    return w && w->Class ? w->Class->Style : 0;
}
BOOL SetWindowText(HWND hwnd, const char* text) {
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}
int GetWindowText(HWND hwnd, char* buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    return static_cast<int>(
        SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}
int GetWindowTextLength(HWND hwnd) {
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
std::string GetWindowTextString(HWND hwnd) {
    const int length = GetWindowTextLength(hwnd);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowText(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, length)));
    return text;
}
BOOL SetProp(HWND hwnd, const char* name, void* data) {
    return Sys() && name && Sys()->SetProp(hwnd, name, data);
}
void* GetProp(HWND hwnd, const char* name) {
    return Sys() && name ? Sys()->GetProp(hwnd, name) : nullptr;
}
void* RemoveProp(HWND hwnd, const char* name) {
    return Sys() && name ? Sys()->RemoveProp(hwnd, name) : nullptr;
}

BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    TWindowSystem* sys = Sys();
    if (!sys || !sys->Find(parent)) {
        return FALSE;
    }
    // Collected first: a visitor may create or destroy windows.
    std::vector<HWND> order;
    std::vector<HWND> stack{parent};
    while (!stack.empty()) {
        HWND h = stack.back();
        stack.pop_back();
        if (h != parent) {
            order.push_back(h);
        }
        if (const TWindow* w = sys->Find(h)) {
            stack.insert(stack.end(), w->Children.rbegin(), w->Children.rend());
        }
    }
    for (HWND h : order) {
        if (sys->IsWindow(h) && !visit(h)) {
            break;
        }
    }
    return TRUE;
}

// ---- Messages --------------------------------------------------------------------------------------

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys() ? Sys()->DefWindowProc(hwnd, message, wParam, lParam) : 0;
}
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys() ? Sys()->Send(hwnd, message, wParam, lParam) : 0;
}
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys() && Sys()->Post(hwnd, message, wParam, lParam);
}
void PostQuitMessage(int exitCode) {
    if (Sys()) {
        Sys()->PostQuit(exitCode);
    }
}
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    return Sys() && msg && Sys()->Peek(*msg, hwnd, first, last, remove);
}
BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last) {
    if (!Sys() || !msg) {
        return -1;
    }
    return Sys()->Get(*msg, hwnd, first, last) ? TRUE : FALSE;
}
BOOL TranslateMessage(const MSG* msg) {
    return Sys() && msg && Sys()->Translate(*msg);
}
LRESULT DispatchMessage(const MSG* msg) {
    return Sys() && msg ? Sys()->Dispatch(*msg) : 0;
}
BOOL WaitMessage() {
    if (!Sys()) {
        return FALSE;
    }
    Sys()->Wait();
    return TRUE;
}
DWORD GetMessageTime() {
    return Sys() ? Sys()->LastMessageTime() : 0;
}
DWORD GetMessagePos() {
    if (!Sys()) {
        return 0;
    }
    const POINT p = Sys()->LastMessagePos();
    return MAKELONG(static_cast<WORD>(p.X), static_cast<WORD>(p.Y));
}

// ---- Timers ---------------------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, int intervalMs, TIMERPROC proc) {
    return Sys() ? Sys()->SetTimer(hwnd, id, intervalMs, proc) : 0;
}
BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return Sys() && Sys()->KillTimer(hwnd, id);
}

// ---- Geometry ------------------------------------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return Sys() && Sys()->SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, 0, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}
BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    if (hwnd == TWindowSystem::kDesktopWindow && Sys() && rect) {
        *rect = Sys()->Backend().ScreenRect();
        return TRUE;
    }
    return Sys() && rect && Sys()->GetWindowRect(hwnd, *rect);
}
BOOL GetClientRect(HWND hwnd, RECT* rect) {
    if (hwnd == TWindowSystem::kDesktopWindow && Sys() && rect) {
        *rect = Sys()->Backend().ScreenRect();
        return TRUE;
    }
    return Sys() && rect && Sys()->GetClientRect(hwnd, *rect);
}
BOOL ClientToScreen(HWND hwnd, POINT* point) {
    if (!Sys() || !point || !Sys()->IsWindow(hwnd)) {
        return FALSE;
    }
    const POINT o = Sys()->ClientOrigin(hwnd);
    point->X += o.X;
    point->Y += o.Y;
    return TRUE;
}
BOOL ScreenToClient(HWND hwnd, POINT* point) {
    if (!Sys() || !point || !Sys()->IsWindow(hwnd)) {
        return FALSE;
    }
    const POINT o = Sys()->ClientOrigin(hwnd);
    point->X -= o.X;
    point->Y -= o.Y;
    return TRUE;
}
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    if (!Sys()) {
        return 0;
    }
    auto originOf = [](HWND h) {
        return (h == 0 || h == TWindowSystem::kDesktopWindow) ? POINT{} : Sys()->ClientOrigin(h);
    };
    const POINT a = originOf(from);
    const POINT b = originOf(to);
    const int dx = a.X - b.X;
    const int dy = a.Y - b.Y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].X += dx;
        points[i].Y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}
BOOL ShowWindow(HWND hwnd, int cmd) {
    return Sys() && Sys()->ShowWindow(hwnd, cmd);
}
BOOL IsIconic(HWND hwnd) {
    return Sys() && Sys()->IsIconic(hwnd);
}
BOOL IsZoomed(HWND hwnd) {
    return Sys() && Sys()->IsZoomed(hwnd);
}
BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    return Sys() && placement && Sys()->GetWindowPlacement(hwnd, *placement);
}
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    return Sys() && placement && Sys()->SetWindowPlacement(hwnd, *placement);
}
HWND WindowFromPoint(POINT screen) {
    return Sys() ? Sys()->WindowFromPoint(screen) : 0;
}
HWND ChildWindowFromPoint(HWND parent, POINT client) {
    const TWindow* w = Sys() ? Sys()->Find(parent) : nullptr;
    if (!w) {
        return 0;
    }
    RECT r;
    Sys()->GetClientRect(parent, r);
    if (!r.Contains(client)) {
        return 0;
    }
    for (HWND c : w->Children) {
        const TWindow* child = Sys()->Find(c);
        if (child && (child->Style & WS_VISIBLE) && child->Rect.Contains(client)) {
            return c;
        }
    }
    return parent;
}

// ---- Input -------------------------------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
    return Sys() ? Sys()->SetCapture(hwnd) : 0;
}
BOOL ReleaseCapture() {
    return Sys() && Sys()->ReleaseCapture();
}
HWND GetCapture() {
    return Sys() ? Sys()->GetCapture() : 0;
}
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    return Sys() && tme && Sys()->TrackMouseEvent(*tme);
}
BOOL GetCursorPos(POINT* point) {
    if (!Sys() || !point) {
        return FALSE;
    }
    *point = Sys()->CursorPos();
    return TRUE;
}
HCURSOR LoadCursor(void* /*instance*/, int id) {
    return id;
}
HCURSOR SetCursor(HCURSOR cursor) {
    return Sys() ? Sys()->SetCursor(cursor) : 0;
}
HCURSOR GetCursor() {
    return Sys() ? Sys()->GetCursor() : 0;
}
SHORT GetKeyState(int vk) {
    return Sys() ? Sys()->GetKeyState(vk) : 0;
}
SHORT GetAsyncKeyState(int vk) {
    // The toolkit knows the keyboard through its events only; the latest state is the best answer.
    return static_cast<SHORT>(GetKeyState(vk) & static_cast<SHORT>(0x8000));
}
UINT GetDoubleClickTime() {
    return Sys() ? Sys()->DoubleClickTime() : 500;
}
BOOL SetDoubleClickTime(UINT ms) {
    if (!Sys()) {
        return FALSE;
    }
    Sys()->SetDoubleClickTime(ms);
    return TRUE;
}

// ---- Focus and activation -------------------------------------------------------------------------------

HWND SetFocus(HWND hwnd) {
    return Sys() ? Sys()->SetFocus(hwnd) : 0;
}
HWND GetFocus() {
    return Sys() ? Sys()->GetFocus() : 0;
}
HWND SetActiveWindow(HWND hwnd) {
    return Sys() ? Sys()->SetActiveWindow(hwnd) : 0;
}
HWND GetActiveWindow() {
    return Sys() ? Sys()->GetActiveWindow() : 0;
}
HWND GetForegroundWindow() {
    return GetActiveWindow();
}
BOOL SetForegroundWindow(HWND hwnd) {
    if (!Sys() || !Sys()->IsWindow(hwnd)) {
        return FALSE;
    }
    Sys()->SetActiveWindow(hwnd);
    return Sys()->GetActiveWindow() == Sys()->GetAncestor(hwnd, GA_ROOT);
}
BOOL EnableWindow(HWND hwnd, BOOL enable) {
    return Sys() && Sys()->EnableWindow(hwnd, enable != FALSE);
}

// ---- Painting --------------------------------------------------------------------------------------------

namespace {

BOOL Redraw(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    TWindowSystem* sys = Sys();
    if (!sys) {
        return FALSE;
    }
    if (hwnd == 0) {
        // Every window of the program.
        const std::vector<HWND> tops = sys->TopLevelWindows();
        for (HWND t : tops) {
            sys->RedrawWindow(t, nullptr, flags | RDW_ALLCHILDREN);
        }
        return TRUE;
    }
    if (region) {
        const TRegion* r = RegionFromHandle(region);
        if (!r) {
            return FALSE;
        }
        return sys->RedrawWindow(hwnd, r, flags);
    }
    if (rect) {
        const TRegion r(*rect);
        return sys->RedrawWindow(hwnd, &r, flags);
    }
    return sys->RedrawWindow(hwnd, nullptr, flags);
}

} // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return Redraw(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    return Redraw(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}
BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    return hwnd && Redraw(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}
BOOL ValidateRgn(HWND hwnd, HRGN region) {
    return hwnd && Redraw(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}
BOOL UpdateWindow(HWND hwnd) {
    if (!Sys() || !Sys()->IsWindow(hwnd)) {
        return FALSE;
    }
    Sys()->UpdateWindow(hwnd);
    return TRUE;
}
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    return Redraw(hwnd, rect, region, flags);
}
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    return Sys() && ps ? Sys()->BeginPaint(hwnd, *ps) : nullptr;
}
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!Sys() || !ps) {
        return FALSE;
    }
    Sys()->EndPaint(hwnd, *ps);
    return TRUE;
}
HDC GetDC(HWND hwnd) {
    return Sys() ? Sys()->GetDC(hwnd) : nullptr;
}
HDC GetWindowDC(HWND hwnd) {
    return Sys() ? Sys()->GetWindowDC(hwnd) : nullptr;
}
int ReleaseDC(HWND hwnd, HDC dc) {
    return Sys() ? Sys()->ReleaseDC(hwnd, dc) : 0;
}
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL /*erase*/) {
    RECT r;
    const bool any = Sys() && Sys()->GetUpdateRect(hwnd, r);
    if (rect) {
        *rect = any ? r : RECT{};
    }
    return any;
}
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL /*erase*/) {
    TRegion* dest = RegionFromHandle(region);
    const TWindow* w = Sys() ? Sys()->Find(hwnd) : nullptr;
    if (!dest || !w) {
        return ERROR;
    }
    TRegion update = w->Update.Intersect(w->Client);
    update.Offset(-w->Client.Left, -w->Client.Top);
    *dest = update;
    return dest->Complexity();
}
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    if (!Sys() || !Sys()->IsWindow(hwnd)) {
        return 0;
    }
    std::optional<TRegion> shape;
    if (region) {
        const TRegion* r = RegionFromHandle(region);
        if (!r) {
            return 0;
        }
        shape = *r;
        // The window owns the region from now on: the handle goes.
        DeleteObject(reinterpret_cast<HGDIOBJ>(region));
    }
    return Sys()->SetWindowRgn(hwnd, std::move(shape), redraw != FALSE) ? 1 : 0;
}
int GetWindowRgn(HWND hwnd, HRGN region) {
    TRegion* dest = RegionFromHandle(region);
    const std::optional<TRegion>* shape = Sys() ? Sys()->WindowRgn(hwnd) : nullptr;
    if (!dest || !shape || !*shape) {
        return ERROR;
    }
    *dest = **shape;
    return dest->Complexity();
}

// ---- Native scroll bars -----------------------------------------------------------------------------------

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
    return Sys() && info ? Sys()->SetScrollInfo(hwnd, bar, *info, redraw != FALSE) : 0;
}
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    return Sys() && info && Sys()->GetScrollInfo(hwnd, bar, *info);
}
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    SCROLLINFO old;
    old.fMask = SIF_POS;
    if (!GetScrollInfo(hwnd, bar, &old)) {
        return 0;
    }
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return old.nPos;
}
int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    return Sys() && Sys()->IsWindow(hwnd) && (SetScrollInfo(hwnd, bar, &info, redraw), true);
}
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &info)) {
        return FALSE;
    }
    if (minPos) {
        *minPos = info.nMin;
    }
    if (maxPos) {
        *maxPos = info.nMax;
    }
    return TRUE;
}
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    return Sys() && Sys()->ShowScrollBar(hwnd, bar, show != FALSE);
}
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    return Sys() && Sys()->EnableScrollBar(hwnd, static_cast<int>(bar), arrows);
}
BOOL GetScrollBarInfo(HWND hwnd, LONG object, SCROLLBARINFO* info) {
    return Sys() && info && Sys()->GetScrollBarInfo(hwnd, object, *info);
}

// ---- System information ---------------------------------------------------------------------------------

int GetSystemMetrics(int index) {
    return Sys() ? Sys()->GetSystemMetrics(index) : 0;
}
BOOL SystemParametersInfo(UINT action, UINT param, void* data, UINT /*winIni*/) {
    return Sys() && Sys()->SystemParametersInfo(action, param, data);
}
BOOL MessageBeep(UINT type) {
    if (!Sys()) {
        return FALSE;
    }
    Sys()->MessageBeep(type);
    return TRUE;
}

// ---- The toolkit's own additions -------------------------------------------------------------------------

std::function<bool(MSG&)> SetMessageFilter(std::function<bool(MSG&)> filter) {
    return Sys() ? Sys()->SetMessageFilter(std::move(filter)) : nullptr;
}
std::function<void()> SetIdleHandler(std::function<void()> handler) {
    return Sys() ? Sys()->SetIdleHandler(std::move(handler)) : nullptr;
}
bool ProcessPendingMessages() {
    return Sys() ? Sys()->PumpPending() : true;
}
int RunMessageLoop() {
    return Sys() ? Sys()->RunMessageLoop() : 0;
}
int RunModalLoop(HWND modal, const std::function<bool()>& done) {
    return Sys() ? Sys()->RunModalLoop(modal, done) : 1;
}
