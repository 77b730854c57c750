#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/windowing/Messages.h"
#include "toolkit/windowing/WinTypes.h"

#include <functional>
#include <string>

// The classic window-message API under its classic names. Every function acts on the current
// window system (TWindowSystem::Current) and answers as for an invalid handle when there is none.
// Text is UTF-8.

struct WNDCLASS {
    UINT style = 0; // CS_...
    WNDPROC lpfnWndProc = nullptr;
    HCURSOR hCursor = 0;
    // The colour the default WM_ERASEBKGND fills the client area with; clNone for no erasing.
    TColor hbrBackground = clNone;
    const char* lpszClassName = nullptr;
};

// ---- Classes and windows ------------------------------------------------------------------------
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* className);
BOOL GetClassInfo(const char* className, WNDCLASS* wc);
// For a child window (WS_CHILD) parent is its parent; for any other window parent is its owner
// (HWND_MESSAGE makes a message-only window). id is the child's id (GWLP_ID). param reaches
// WM_NCCREATE and WM_CREATE in CREATESTRUCT.
// Top-level windows have no native frame: WS_CAPTION, WS_BORDER and WS_THICKFRAME take no room
// (WS_CAPTION only makes maximising stop at the work area). A top-level window with
// WS_EX_NOACTIVATE is a popup, as menus and drop-downs are: it is never activated, stays above
// the ordinary windows, and the keyboard stays with its owner. Children keep classic borders
// (WS_BORDER, WS_EX_CLIENTEDGE, WS_EX_STATICEDGE) and native scroll bars (WS_VSCROLL,
// WS_HSCROLL) in their non-client area; a procedure that wants a band of its own around the
// client area shrinks the proposed rectangle before passing WM_NCCALCSIZE on, so the band lies
// outside the scroll bars.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, LONG_PTR id, void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsChild(HWND parent, HWND child);
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
UINT GetClassStyle(HWND hwnd);
BOOL SetWindowText(HWND hwnd, const char* text);
int GetWindowText(HWND hwnd, char* buffer, int size);
int GetWindowTextLength(HWND hwnd);
std::string GetWindowTextString(HWND hwnd);
BOOL SetProp(HWND hwnd, const char* name, void* data);
void* GetProp(HWND hwnd, const char* name);
void* RemoveProp(HWND hwnd, const char* name);
// Calls visit for every descendant, parents before their children, topmost first, until visit
// answers false.
BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit);

// ---- Window procedures and messages ---------------------------------------------------------------
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
// > 0 for a message, 0 for WM_QUIT, -1 when there is no window system.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL WaitMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();

// ---- Timers -------------------------------------------------------------------------------------------
// An interval of 0 or less gives a timer that never fires. With hwnd 0 the id is chosen and
// returned; otherwise setting an existing (hwnd, id) again replaces it.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, int intervalMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Geometry and show state ----------------------------------------------------------------------------
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
// Returns the offset added (low word x, high word y, as signed 16-bit values).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
HWND WindowFromPoint(POINT screen);
HWND ChildWindowFromPoint(HWND parent, POINT client);

// ---- Input ---------------------------------------------------------------------------------------------
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
BOOL GetCursorPos(POINT* point);
HCURSOR LoadCursor(void* instance, int id);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);

// ---- Focus and activation -------------------------------------------------------------------------------
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);

// ---- Painting
// ----------------------------------------------------------------------------------------------- Areas are
// in client coordinates; a null rectangle or region means the whole client area. Invalidating a window also
// invalidates its children unless it has WS_CLIPCHILDREN.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// BeginPaint sends WM_NCPAINT and WM_ERASEBKGND (the DC in wParam) when they are due, and
// validates; the DC it returns reaches only what needed painting.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
// The window takes the region (window coordinates) and deletes its handle; 0 restores the
// rectangle. Returns nonzero on success.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's region into region; ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);

// ---- Native scroll bars
// ------------------------------------------------------------------------------------
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
BOOL GetScrollBarInfo(HWND hwnd, LONG object, SCROLLBARINFO* info);

// ---- System information --------------------------------------------------------------------------------
int GetSystemMetrics(int index);
BOOL SystemParametersInfo(UINT action, UINT param, void* data, UINT winIni);
BOOL MessageBeep(UINT type);

// ---- The toolkit's own additions -------------------------------------------------------------------------
// The application-wide hook: sees every message the toolkit's loops retrieve before it is
// translated and dispatched; answering true marks it handled. Returns the previous filter.
std::function<bool(MSG&)> SetMessageFilter(std::function<bool(MSG&)> filter);
// Called when a loop finds the queue empty, before it waits. Returns the previous handler.
std::function<void()> SetIdleHandler(std::function<void()> handler);
// Retrieves, filters, translates and dispatches everything that is ready now without waiting.
// Returns false when WM_QUIT was retrieved (it is posted again for the outer loop).
bool ProcessPendingMessages();
// Runs the message loop until WM_QUIT and returns its exit code.
int RunMessageLoop();
// A nested loop for a modal window; see TWindowSystem::RunModalLoop.
int RunModalLoop(HWND modal, const std::function<bool()>& done);
