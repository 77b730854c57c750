#pragma once

#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/windowing/Backend.h"
#include "toolkit/windowing/Clock.h"
#include "toolkit/windowing/Messages.h"
#include "toolkit/windowing/ScrollBarGeometry.h"
#include "toolkit/windowing/Window.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct WNDCLASS;

// The window system: every window, the message queue, timers, input routing, focus and
// activation, painting and presentation. One exists while the program (or a test) runs; the
// classic free functions (WinUser.h) act on the current one and do nothing when there is none.
//
// The engine is split over several files by concern:
//   WindowSystem.cpp  construction, the window table, classes, creation and destruction, tree
//   MessageQueue.cpp  send, post, peek/get, translate, dispatch, quit, filters, loops, modal loop
//   Timers.cpp        timers on the clock, stepping a manual clock
//   Geometry.cpp      positions and sizes, show states, coordinate mapping
//   Input.cpp         raw input to messages: hit testing, capture, double clicks, mouse leave, keys
//   Focus.cpp         focus, activation, enabling
//   DefWindowProc.cpp the default handling of messages
//   MoveSizeLoop.cpp  the move and size loops
//   Painting.cpp      update regions, paint and window DCs, surfaces, presentation
//   NonClient.cpp     the non-client area: frame, hit test, painting
//   ScrollBars.cpp    native scroll bars: state, geometry, drawing, tracking
//   SystemInfo.cpp    metrics and system parameters
class TWindowSystem {
public:
    TWindowSystem(std::unique_ptr<TBackend> backend, std::unique_ptr<TClock> clock);
    ~TWindowSystem();
    TWindowSystem(const TWindowSystem&) = delete;
    TWindowSystem& operator=(const TWindowSystem&) = delete;

    static TWindowSystem* Current();
    // Distinguishes this system from every other one the process has made (addresses get reused).
    std::uint64_t Serial() const { return m_serial; }

    TBackend& Backend() { return *m_backend; }
    TClock& Clock() { return *m_clock; }
    std::int64_t Now() const { return m_clock->NowMs(); }

    // ---- Raw input from the backend (queued, turned into messages when retrieved) -----------
    void PostRawInput(const TRawInput& input);

    // ---- Windows --------------------------------------------------------------------------------
    ATOM RegisterClass(const WNDCLASS& wc);
    bool UnregisterClass(const std::string& name);
    bool GetClassInfo(const std::string& name, WNDCLASS& wc) const;
    HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                        DWORD style, int x, int y, int width, int height, HWND parent, LONG_PTR id,
                        void* param);
    bool DestroyWindow(HWND hwnd);
    TWindow* Find(HWND hwnd) const;
    bool IsWindow(HWND hwnd) const { return Find(hwnd) != nullptr; }
    // Visible itself and every ancestor visible.
    bool IsVisible(HWND hwnd) const;
    // Enabled itself and every ancestor enabled.
    bool IsEnabledTree(HWND hwnd) const;
    bool IsChild(HWND parent, HWND child) const;
    // hwnd is owned by owner, directly or through owners of owners.
    bool IsOwnedBy(HWND hwnd, HWND owner) const;
    HWND GetParent(HWND hwnd) const;
    HWND SetParent(HWND child, HWND newParent);
    HWND GetAncestor(HWND hwnd, UINT flags) const;
    HWND GetWindow(HWND hwnd, UINT cmd) const;
    HWND TopLevelOf(HWND hwnd) const { return GetAncestor(hwnd, GA_ROOT); }
    const std::vector<HWND>& TopLevelWindows() const { return m_topLevels; }
    LONG_PTR GetWindowLongPtr(HWND hwnd, int index) const;
    LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
    bool SetWindowText(HWND hwnd, const std::string& text);
    std::string GetWindowText(HWND hwnd) const;
    bool SetProp(HWND hwnd, const std::string& name, void* data);
    void* GetProp(HWND hwnd, const std::string& name) const;
    void* RemoveProp(HWND hwnd, const std::string& name);

    // ---- Messages ---------------------------------------------------------------------------------
    LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void PostQuit(int exitCode);
    bool Peek(MSG& msg, HWND filter, UINT first, UINT last, UINT remove);
    // Waits for a message; false when it is WM_QUIT.
    bool Get(MSG& msg, HWND filter, UINT first, UINT last);
    bool Translate(const MSG& msg);
    LRESULT Dispatch(const MSG& msg);
    // Blocks until something is ready to be retrieved.
    void Wait();
    // Something can be retrieved now (posted, input, quit, paint or a due timer).
    bool HasReadyMessage();
    DWORD LastMessageTime() const { return m_lastMessageTime; }
    POINT LastMessagePos() const { return m_lastMessagePos; }

    // Sees every queued message before it is translated and dispatched by the loops of the
    // toolkit (the application's message hook lives here); true means handled, not dispatched.
    using TMessageFilter = std::function<bool(MSG&)>;
    TMessageFilter SetMessageFilter(TMessageFilter filter);
    // Called by the loops when the queue has run dry, before they wait.
    using TIdleHandler = std::function<void()>;
    TIdleHandler SetIdleHandler(TIdleHandler handler);
    // Filter, translate and dispatch one retrieved message.
    void Pump(MSG& msg);
    // Retrieves and pumps everything that is ready now; false when WM_QUIT was seen (it is
    // posted again for the outer loop).
    bool PumpPending();
    // Runs until WM_QUIT; returns its exit code.
    int RunMessageLoop();
    // Runs a nested loop until done() holds, the modal window is destroyed, or WM_QUIT arrives
    // (then posted again for the outer loop). Every other enabled top-level window is disabled
    // meanwhile and enabled again afterwards. Returns 0 when done() held, 1 when the window
    // went away, 2 on WM_QUIT.
    int RunModalLoop(HWND modal, const std::function<bool()>& done);
    int ModalDepth() const { return m_modalDepth; }

    // ---- Timers ---------------------------------------------------------------------------------
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, int intervalMs, TIMERPROC proc);
    bool KillTimer(HWND hwnd, UINT_PTR id);
    // The earliest time at which a timer (or a pending hover) falls due.
    std::optional<std::int64_t> NextDue() const;
    // Manual clocks: steps through every timer due up to target, delivering each, then stops at
    // target. Inside a wait of a nested loop it only records the target; the loop then steps the
    // clock each time it goes idle (StepTowardsClockTarget).
    void AdvanceClockTo(std::int64_t target);
    // For the headless backend's wait: moves a manual clock one step towards a recorded target.
    bool StepTowardsClockTarget();
    bool InIdleWait() const { return m_idleWaitDepth > 0; }

    // ---- Geometry ---------------------------------------------------------------------------------
    bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool GetWindowRect(HWND hwnd, RECT& rect) const; // screen coordinates
    bool GetClientRect(HWND hwnd, RECT& rect) const; // (0, 0, width, height)
    // The origin of the client area, and of the window rectangle, on the screen.
    POINT ClientOrigin(HWND hwnd) const;
    POINT WindowOrigin(HWND hwnd) const;
    bool ShowWindow(HWND hwnd, int cmd);
    bool IsIconic(HWND hwnd) const;
    bool IsZoomed(HWND hwnd) const;
    bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement) const;
    bool SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement);
    // Recomputes the client area (WM_NCCALCSIZE) and notifies as SetWindowPos does.
    void FrameChanged(HWND hwnd);

    // ---- Input ------------------------------------------------------------------------------------
    HWND SetCapture(HWND hwnd);
    bool ReleaseCapture();
    HWND GetCapture() const { return m_capture; }
    bool TrackMouseEvent(TRACKMOUSEEVENT& tme);
    POINT CursorPos() const { return m_cursorPos; }
    void SetCursorPos(POINT p) { m_cursorPos = p; }
    HCURSOR SetCursor(HCURSOR cursor);
    HCURSOR GetCursor() const { return m_cursor; }
    SHORT GetKeyState(int vk) const;
    UINT DoubleClickTime() const { return m_doubleClickTime; }
    void SetDoubleClickTime(UINT ms) { m_doubleClickTime = ms == 0 ? 500 : ms; }
    // The last button press routed to a window: its window, its (client or non-client) down
    // message, time and screen point. A menu loop that took a press while it held the pointer
    // keeps the one before it, to hand the press on as the second of a double click.
    struct TClickRecord {
        HWND Window = 0;
        UINT Message = 0;
        std::int64_t Time = 0;
        POINT Screen;
        bool Valid = false;
    };
    const TClickRecord& LastClick() const { return m_lastClick; }
    // Whether a press (a button-down message) on target at screen point p and time follows last
    // closely enough, in time and place, to be a double click. Client presses make double
    // clicks only in windows whose class asks for them (CS_DBLCLKS).
    bool IsDoubleClick(const TClickRecord& last, HWND target, UINT message, std::int64_t time, POINT p) const;
    // The deepest visible, enabled window under the point, skipping windows that answer
    // HTTRANSPARENT (they are asked with WM_NCHITTEST); hit receives the answer of the window
    // found. Disabled children are passed over in favour of their parent; a disabled top-level
    // window is found (input to it is refused later).
    HWND WindowFromPoint(POINT screen, int* hit = nullptr);
    // Without asking any window: the deepest visible window under the point.
    HWND WindowAt(POINT screen) const;

    // ---- Focus and activation ------------------------------------------------------------------------
    HWND SetFocus(HWND hwnd);
    HWND GetFocus() const { return m_focus; }
    HWND SetActiveWindow(HWND hwnd, bool byMouse = false);
    HWND GetActiveWindow() const { return m_active; }
    bool EnableWindow(HWND hwnd, bool enable);

    // ---- Move and size loops -----------------------------------------------------------------------
    // Follows the pointer until the button is released (pointer-driven) or a click/Enter
    // (keyboard-driven), Escape restores the start rectangle. edge is 0 for moving, WMSZ_... for
    // sizing.
    void RunMoveSizeLoop(HWND hwnd, UINT edge, POINT start, bool pointerDriven);
    bool InMoveSizeLoop() const { return m_moveSizeWindow != 0; }

    // ---- Default window procedure ---------------------------------------------------------------------
    LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // ---- Painting -----------------------------------------------------------------------------------
    // The core of InvalidateRect, ValidateRect and RedrawWindow: area in client coordinates (with
    // RDW_FRAME the non-client area counts too), none for the whole window.
    bool RedrawWindow(HWND hwnd, const TRegion* clientArea, UINT flags);
    // Sends WM_PAINT now to the window and its descendants that have something to paint.
    void UpdateWindow(HWND hwnd);
    HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
    void EndPaint(HWND hwnd, const PAINTSTRUCT& ps);
    // Client DC, window DC (non-client area included); 0 or the desktop window give a DC on the
    // screen, whose pixels land in the top-level windows under them when it is released.
    HDC GetDC(HWND hwnd);
    HDC GetWindowDC(HWND hwnd);
    int ReleaseDC(HWND hwnd, HDC dc);
    // The update region's bounds in client coordinates; false when nothing needs painting.
    bool GetUpdateRect(HWND hwnd, RECT& rect) const;
    const TRegion* UpdateRegion(HWND hwnd) const;
    // Takes the region (window coordinates) as the window's shape; none restores the rectangle.
    bool SetWindowRgn(HWND hwnd, std::optional<TRegion> shape, bool redraw);
    const std::optional<TRegion>* WindowRgn(HWND hwnd) const;
    // The top-level window's surface (the pixels its whole tree paints into).
    const TPixelBuffer* Surface(HWND topLevel) const;
    // Shows what changed on every surface; unless forced, at most about 60 times a second.
    void PresentChanged(bool force);
    // The part of the window (or its client area) that can be painted, in its top-level
    // window's surface pixels: clipped by the ancestors, siblings above it (WS_CLIPSIBLINGS),
    // children (WS_CLIPCHILDREN) and the window shapes.
    TRegion VisibleRegion(HWND hwnd, bool clientOnly) const;
    static constexpr HWND kDesktopWindow = 0xFFFFFFF0u;

    // ---- Native scroll bars ---------------------------------------------------------------------------
    int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
    bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) const;
    bool GetScrollBarInfo(HWND hwnd, LONG object, SCROLLBARINFO& info) const;
    bool ShowScrollBar(HWND hwnd, int bar, bool show);
    bool EnableScrollBar(HWND hwnd, int bar, UINT arrows);
    // Runs the press-and-hold loop of a native scroll bar pressed at a screen point.
    void TrackScrollBar(HWND hwnd, int bar, POINT screen);

    // ---- System information ---------------------------------------------------------------------------
    int GetSystemMetrics(int index) const;
    bool SystemParametersInfo(UINT action, UINT param, void* data);
    void MessageBeep(UINT type);

private:
    // Window tree helpers (WindowSystem.cpp).
    void DestroyTree(HWND hwnd);
    void SendDestroyMessages(HWND hwnd);
    void FreeWindow(HWND hwnd);
    void Unlink(HWND hwnd);
    void ForgetWindow(HWND hwnd);
    std::vector<HWND>* SiblingList(const TWindow& w);

    // Queue helpers (MessageQueue.cpp).
    bool MatchesFilter(const MSG& msg, HWND filter, UINT first, UINT last) const;
    bool RetrieveTimer(MSG& msg, HWND filter, UINT first, UINT last, UINT remove);
    void Record(const MSG& msg);
    bool WaitForFiltered();

    // Input helpers (Input.cpp).
    std::optional<MSG> Cook(const TRawInput& raw);
    std::optional<MSG> CookPointer(const TRawInput& raw);
    std::optional<MSG> CookKey(const TRawInput& raw);
    std::optional<MSG> CookText(const TRawInput& raw);
    void UpdateMouseTracking(HWND under, int hit);
    // Posts WM_MOUSEHOVER when the pointer has rested long enough; true when it did.
    bool CheckHover();
    WPARAM MouseKeyFlags() const;
    HWND FindAt(POINT screen, const std::vector<HWND>& skip) const;
    HWND DescendAt(HWND hwnd, POINT screen, const std::vector<HWND>& skip) const;
    bool ContainsScreenPoint(const TWindow& w, POINT screen) const;

    // Focus helpers (Focus.cpp).
    void ActivateNextAfter(HWND leaving);
    void LoseFocusWithin(HWND hwnd);
    void LoseCaptureWithin(HWND hwnd);

    // Geometry helpers (Geometry.cpp).
    void BringToTop(HWND hwnd);
    void ApplyZOrder(HWND hwnd, HWND insertAfter);
    TRect MaximizedArea(HWND hwnd) const;
    void SetShowState(HWND hwnd, TShowState state);
    MINMAXINFO GetMinMaxInfo(HWND hwnd);
    RECT ClientFromCalc(const TWindow& w, const RECT& answer) const;

    // Painting helpers (Painting.cpp).
    struct TSurface {
        TPixelBuffer Pixels;
        TRegion Changed; // not yet presented, surface pixels
    };
    struct TDCRecord {
        std::unique_ptr<TDeviceContext> Dc;
        HWND Window = 0;
        HWND Top = 0;
        TRegion Drawable; // the system clip, surface pixels
        // Screen DCs only: the composed screen part they draw on, who owns each pixel, what it held.
        std::unique_ptr<TPixelBuffer> Scratch;
        std::unique_ptr<TPixelBuffer> Before;
        std::vector<int> Owner; // index into ScreenOwners per scratch pixel, -1 for the desktop
        std::vector<HWND> ScreenOwners;
        TPoint ScratchOrigin;
    };
    void InitPainting();
    void CreateSurface(HWND hwnd);
    void ResizeSurface(HWND hwnd);
    void ForgetSurface(HWND hwnd);
    void MarkSurfaceChanged(HWND hwnd);
    void InvalidateWindowArea(HWND hwnd);
    void RedrawWindowArea(HWND hwnd, const TRegion& windowArea, UINT flags);
    void RedrawNonClient(HWND hwnd);
    HWND FindWindowToPaint(HWND filter);
    HWND FindWindowToPaintIn(HWND hwnd) const;
    bool NeedsPaint(const TWindow& w) const;
    void ValidateAfterUnansweredPaint(HWND hwnd, unsigned beginPaintsBefore);
    void DefaultPaint(HWND hwnd);
    LRESULT EraseWithClassBackground(HWND hwnd, WPARAM dc);
    HDC MakeDC(HWND hwnd, bool clientOnly);
    HDC MakeScreenDC();
    void FinishScreenDC(TDCRecord& record);
    void ApplyWindowShape(HWND hwnd);
    bool PointInWindowShape(HWND hwnd, POINT windowPoint) const;
    bool GetNonClientMetrics(void* data) const;

    // Non-client helpers (NonClient.cpp).
    RECT DefaultClientRect(HWND hwnd, const RECT& windowRect) const;
    LRESULT DefaultHitTest(HWND hwnd, POINT screen) const;
    void PaintNonClient(HWND hwnd);
    int BorderWidth(const TWindow& w) const;

    // Scroll bar helpers (ScrollBars.cpp).
    TScrollBarGeometry ScrollBarGeometryOf(const TWindow& w, int bar, bool useTrackPos) const;
    void DrawScrollBar(TDeviceContext& dc, const TWindow& w, int bar);

    // DefWindowProc helpers (DefWindowProc.cpp).
    LRESULT DefSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TBackend> m_backend;
    std::unique_ptr<TClock> m_clock;
    TWindowSystem* m_previous = nullptr; // the system that was current before this one
    std::uint64_t m_serial = 0;

    // Windows.
    std::unordered_map<HWND, std::unique_ptr<TWindow>> m_windows;
    std::unordered_map<std::string, std::shared_ptr<TWindowClass>> m_classes; // by lower-case name
    std::vector<HWND> m_topLevels;                                            // z-order, topmost first
    std::vector<HWND> m_messageOnly;                                          // children of HWND_MESSAGE
    HWND m_nextHandle = 0x100;
    ATOM m_nextAtom = 0xC000;

    // Queue.
    std::deque<MSG> m_posted;
    std::deque<TRawInput> m_rawInput;
    std::deque<MSG> m_cooked; // made from raw input, not yet removed
    bool m_quitPosted = false;
    int m_quitCode = 0;
    DWORD m_lastMessageTime = 0;
    POINT m_lastMessagePos;
    TMessageFilter m_filter;
    TIdleHandler m_idle;
    int m_modalDepth = 0;
    int m_idleWaitDepth = 0;
    std::optional<std::int64_t> m_clockTarget;

    // Timers.
    struct TTimer {
        HWND Window = 0;
        UINT_PTR Id = 0;
        int Interval = 0;     // ms; 0 or less never falls due
        std::int64_t Due = 0; // clock time of the next WM_TIMER
        TIMERPROC Proc = nullptr;
        std::uint64_t Sequence = 0; // order of setting, breaks ties between equal due times
    };
    std::vector<TTimer> m_timers;
    std::uint64_t m_timerSequence = 0;
    UINT_PTR m_nextThreadTimerId = 1;

    // Input.
    HWND m_capture = 0;
    HWND m_focus = 0;
    HWND m_active = 0;
    std::array<BYTE, 256> m_keyState{}; // 0x80 down, 0x01 toggled
    POINT m_cursorPos;
    HCURSOR m_cursor = 0;
    UINT m_doubleClickTime = 500;
    TClickRecord m_lastClick;
    struct TMouseTracking {
        HWND Window = 0;
        DWORD Flags = 0; // TME_LEAVE, TME_HOVER, TME_NONCLIENT
        DWORD HoverTime = 0;
        std::int64_t HoverDue = 0;
        POINT HoverAnchor;
    } m_tracking;

    // Move and size loop.
    HWND m_moveSizeWindow = 0;

    // Painting.
    std::unordered_map<HWND, std::unique_ptr<TSurface>> m_surfaces;
    std::vector<TDCRecord> m_dcs;
    bool m_maybeInvalid = false; // some window may need painting; false means none does
    std::int64_t m_lastPresent = -1000;

    // Native scroll bar being operated by the mouse.
    struct TScrollTracking {
        HWND Window = 0;
        int Bar = SB_VERT;
        int Part = 0; // the part pressed (see ScrollBars.cpp)
        bool Dragging = false;
    } m_scrollTracking;
};

// Creates a window system and makes it current for the lifetime of the object; tests build one
// per test. The previous current system is restored when it goes.
std::unique_ptr<TWindowSystem> StartWindowSystem(std::unique_ptr<TBackend> backend,
                                                 std::unique_ptr<TClock> clock);
