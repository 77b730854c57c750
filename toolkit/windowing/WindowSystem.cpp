#include "toolkit/windowing/WindowSystem.h"

#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <cctype>

namespace {

TWindowSystem* g_current = nullptr;
std::uint64_t g_serial = 0;

std::string LowerCase(const std::string& s) {
    std::string r = s;
    std::transform(r.begin(), r.end(), r.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return r;
}

// Handles stay below the special values (HWND_TOPMOST ...) and above HWND_BOTTOM.
constexpr HWND kFirstHandle = 0x100;
constexpr HWND kLastHandle = 0xFFFFFF00u;

} // namespace

TWindowSystem::TWindowSystem(std::unique_ptr<TBackend> backend, std::unique_ptr<TClock> clock)
    : m_backend(std::move(backend)), m_clock(std::move(clock)) {
    m_serial = ++g_serial;
    m_previous = g_current;
    g_current = this;
    if (m_clock->IsManual()) {
        static_cast<TManualClock&>(*m_clock).SetAdvancer(
            [this](std::int64_t target) { AdvanceClockTo(target); });
    }
    m_backend->Attach(*this);
    m_cursor = IDC_ARROW;
    m_backend->SetCursorShape(TCursorShape::Arrow);
    TRect screen = m_backend->ScreenRect();
    m_cursorPos = {screen.Width() / 2, screen.Height() / 2};
    InitPainting();
}

TWindowSystem::~TWindowSystem() {
    // Destroy what is left, owners after what they own, so that every window still hears
    // WM_DESTROY and WM_NCDESTROY while the system is intact.
    for (std::vector<HWND>* list : {&m_topLevels, &m_messageOnly}) {
        while (!list->empty()) {
            const HWND last = list->back();
            if (!DestroyWindow(last) && IsWindow(last)) {
                // Its destruction was already under way when the system went: finish it here.
                DestroyTree(last);
            }
        }
    }
    if (m_clock->IsManual()) {
        static_cast<TManualClock&>(*m_clock).SetAdvancer(nullptr);
    }
    m_backend->Detach();
    if (g_current == this) {
        g_current = m_previous;
    }
}

TWindowSystem* TWindowSystem::Current() {
    return g_current;
}

std::unique_ptr<TWindowSystem> StartWindowSystem(std::unique_ptr<TBackend> backend,
                                                 std::unique_ptr<TClock> clock) {
    return std::make_unique<TWindowSystem>(std::move(backend), std::move(clock));
}

void TWindowSystem::PostRawInput(const TRawInput& input) {
    m_rawInput.push_back(input);
}

// ---- Classes ----------------------------------------------------------------------------------

ATOM TWindowSystem::RegisterClass(const WNDCLASS& wc) {
    if (!wc.lpszClassName || !*wc.lpszClassName || !wc.lpfnWndProc) {
        return 0;
    }
    std::string key = LowerCase(wc.lpszClassName);
    if (m_classes.count(key)) {
        return 0;
    }
    auto cls = std::make_shared<TWindowClass>();
    cls->Name = wc.lpszClassName;
    cls->Style = wc.style;
    cls->Proc = wc.lpfnWndProc;
    cls->Cursor = wc.hCursor;
    cls->Background = wc.hbrBackground;
    m_classes[key] = std::move(cls);
    return m_nextAtom++;
}

bool TWindowSystem::UnregisterClass(const std::string& name) {
    // Windows of the class keep their shared copy of it.
    return m_classes.erase(LowerCase(name)) > 0;
}

bool TWindowSystem::GetClassInfo(const std::string& name, WNDCLASS& wc) const {
    auto it = m_classes.find(LowerCase(name));
    if (it == m_classes.end()) {
        return false;
    }
    wc.style = it->second->Style;
    wc.lpfnWndProc = it->second->Proc;
    wc.hCursor = it->second->Cursor;
    wc.hbrBackground = it->second->Background;
    wc.lpszClassName = it->second->Name.c_str();
    return true;
}

// ---- Creation ---------------------------------------------------------------------------------

HWND TWindowSystem::CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                                   DWORD style, int x, int y, int width, int height, HWND parent, LONG_PTR id,
                                   void* param) {
    auto cls = m_classes.find(LowerCase(className));
    if (cls == m_classes.end()) {
        return 0;
    }
    const bool messageOnly = parent == HWND_MESSAGE;
    const bool child = (style & WS_CHILD) && !messageOnly;
    HWND owner = 0;
    if (child) {
        TWindow* p = Find(parent);
        if (!p || p->Destroying) {
            return 0;
        }
    } else if (!messageOnly && parent) {
        if (!Find(parent)) {
            return 0;
        }
        owner = GetAncestor(parent, GA_ROOT);
    }
    if (messageOnly) {
        style &= ~(WS_CHILD | WS_VISIBLE);
    }

    // Default placement for top-level windows: cascaded inside the work area.
    const TRect work = m_backend->WorkArea();
    if (x == CW_USEDEFAULT) {
        x = child ? 0 : work.Left + 40;
        y = child ? 0 : work.Top + 40;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : std::min(640, work.Width());
        height = child ? 0 : std::min(480, work.Height());
    }
    width = std::max(width, 0);
    height = std::max(height, 0);

    HWND handle = m_nextHandle;
    while (m_windows.count(handle)) {
        handle = handle >= kLastHandle ? kFirstHandle : handle + 1;
    }
    m_nextHandle = handle >= kLastHandle ? kFirstHandle : handle + 1;

    auto window = std::make_unique<TWindow>();
    TWindow& w = *window;
    w.Handle = handle;
    w.Class = cls->second;
    w.Proc = cls->second->Proc;
    w.Style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w.ExStyle = exStyle;
    w.Id = child ? id : 0;
    w.Parent = child ? parent : 0;
    w.Owner = owner;
    w.MessageOnly = messageOnly;
    w.Rect = Bounds(x, y, width, height);
    w.Client = Bounds(0, 0, width, height);
    w.NormalRect = w.Rect;
    m_windows.emplace(handle, std::move(window));

    if (child) {
        auto& siblings = Find(parent)->Children;
        siblings.insert(siblings.begin(), handle);
    } else if (messageOnly) {
        m_messageOnly.push_back(handle);
    } else {
        auto pos = m_topLevels.begin();
        if (!(exStyle & WS_EX_TOPMOST)) {
            while (pos != m_topLevels.end() && (Find(*pos)->ExStyle & WS_EX_TOPMOST)) {
                ++pos;
            }
        }
        m_topLevels.insert(pos, handle);
        TNativeWindowParams params;
        params.Bounds = w.Rect;
        params.Kind = (exStyle & WS_EX_NOACTIVATE) ? TNativeWindowKind::Popup : TNativeWindowKind::Normal;
        params.Owner = owner;
        params.Title = windowName;
        m_backend->CreateNativeWindow(handle, params);
    }
    CreateSurface(handle);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.hMenu = id;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = style;
    cs.lpszName = windowName.c_str();
    cs.lpszClass = className.c_str();
    cs.dwExStyle = exStyle;

    if (!Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(handle);
        return 0;
    }
    if (TWindow* p = Find(handle)) {
        p->Created = true;
    } else {
        return 0;
    }
    FrameChanged(handle);
    if (!IsWindow(handle)) {
        return 0;
    }
    if (Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(handle);
        return 0;
    }
    TWindow* created = Find(handle);
    if (!created) {
        return 0;
    }
    const RECT client = created->Client;
    const POINT origin{created->Rect.Left + client.Left, created->Rect.Top + client.Top};
    Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    Send(handle, WM_MOVE, 0, MAKELPARAM(origin.X, origin.Y));
    if (!IsWindow(handle)) {
        return 0;
    }
    if (style & WS_MAXIMIZE) {
        ShowWindow(handle, (style & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
    } else if (style & WS_MINIMIZE) {
        ShowWindow(handle, SW_SHOWMINNOACTIVE);
    } else if (style & WS_VISIBLE) {
        ShowWindow(handle, SW_SHOW);
    }
    return IsWindow(handle) ? handle : 0;
}

// ---- Destruction --------------------------------------------------------------------------------

bool TWindowSystem::DestroyWindow(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w || w->Destroying) {
        return false;
    }
    w->Destroying = true;

    // Owned windows go first, as their owner's destruction would leave them ownerless.
    if (!w->Parent) {
        std::vector<HWND> owned;
        for (HWND t : m_topLevels) {
            if (Find(t)->Owner == hwnd) {
                owned.push_back(t);
            }
        }
        for (HWND t : owned) {
            DestroyWindow(t);
        }
    }

    if (IsWindow(hwnd) && (Find(hwnd)->Style & WS_VISIBLE)) {
        SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_active == hwnd) {
        ActivateNextAfter(hwnd);
    }
    LoseCaptureWithin(hwnd);
    LoseFocusWithin(hwnd);
    if (!IsWindow(hwnd)) {
        return true;
    }
    SendDestroyMessages(hwnd);
    if (IsWindow(hwnd)) {
        DestroyTree(hwnd);
    }
    return true;
}

void TWindowSystem::SendDestroyMessages(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    w->Destroying = true;
    Send(hwnd, WM_DESTROY, 0, 0);
    w = Find(hwnd);
    if (!w) {
        return;
    }
    std::vector<HWND> children = w->Children;
    for (HWND c : children) {
        SendDestroyMessages(c);
    }
}

void TWindowSystem::DestroyTree(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    w->Destroying = true;
    // Children created while the parent was being destroyed are destroyed with it.
    while (true) {
        w = Find(hwnd);
        if (!w || w->Children.empty()) {
            break;
        }
        HWND c = w->Children.back();
        if (TWindow* cw = Find(c); cw && !cw->Destroying) {
            SendDestroyMessages(c);
        }
        DestroyTree(c);
    }
    if (!IsWindow(hwnd)) {
        return;
    }
    Send(hwnd, WM_NCDESTROY, 0, 0);
    FreeWindow(hwnd);
}

void TWindowSystem::FreeWindow(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    const bool topLevel = !w->Parent && !w->MessageOnly;
    Unlink(hwnd);
    ForgetWindow(hwnd);
    if (topLevel) {
        m_backend->DestroyNativeWindow(hwnd);
    }
    m_windows.erase(hwnd);
}

void TWindowSystem::Unlink(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    if (std::vector<HWND>* list = SiblingList(*w)) {
        list->erase(std::remove(list->begin(), list->end(), hwnd), list->end());
    }
}

// Drops every reference the system keeps to a window that is going away.
void TWindowSystem::ForgetWindow(HWND hwnd) {
    std::erase_if(m_timers, [hwnd](const TTimer& t) { return t.Window == hwnd; });
    std::erase_if(m_posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(m_cooked, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    if (m_capture == hwnd) {
        m_capture = 0;
        m_backend->SetMouseCapture(false);
    }
    if (m_focus == hwnd) {
        m_focus = 0;
    }
    if (m_active == hwnd) {
        m_active = 0;
    }
    if (m_tracking.Window == hwnd) {
        m_tracking = {};
    }
    if (m_lastClick.Window == hwnd) {
        m_lastClick = {};
    }
    for (auto& [handle, other] : m_windows) {
        if (other->Owner == hwnd) {
            other->Owner = 0;
        }
    }
    ForgetSurface(hwnd);
}

std::vector<HWND>* TWindowSystem::SiblingList(const TWindow& w) {
    if (w.Parent) {
        TWindow* p = Find(w.Parent);
        return p ? &p->Children : nullptr;
    }
    return w.MessageOnly ? &m_messageOnly : &m_topLevels;
}

// ---- Lookup and the tree ----------------------------------------------------------------------------

TWindow* TWindowSystem::Find(HWND hwnd) const {
    if (hwnd == 0) {
        return nullptr;
    }
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.get();
}

bool TWindowSystem::IsVisible(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    for (; w; w = Find(w->Parent)) {
        if (!(w->Style & WS_VISIBLE)) {
            return false;
        }
    }
    return true;
}

bool TWindowSystem::IsEnabledTree(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    for (; w; w = Find(w->Parent)) {
        if (w->Style & WS_DISABLED) {
            return false;
        }
    }
    return true;
}

bool TWindowSystem::IsChild(HWND parent, HWND child) const {
    const TWindow* w = Find(child);
    if (!w || !Find(parent)) {
        return false;
    }
    for (w = Find(w->Parent); w; w = Find(w->Parent)) {
        if (w->Handle == parent) {
            return true;
        }
    }
    return false;
}

bool TWindowSystem::IsOwnedBy(HWND hwnd, HWND owner) const {
    const TWindow* w = Find(hwnd);
    // Owner chains are short and acyclic (an owner is always an existing other window), but a
    // bound keeps a corrupted chain from looping.
    for (int depth = 0; w && w->Owner && depth < 64; ++depth) {
        if (w->Owner == owner) {
            return true;
        }
        w = Find(w->Owner);
    }
    return false;
}

HWND TWindowSystem::GetParent(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    // Classic: a child's parent, a top-level popup's owner.
    return w->Parent ? w->Parent : ((w->Style & WS_POPUP) ? w->Owner : 0);
}

HWND TWindowSystem::SetParent(HWND child, HWND newParent) {
    TWindow* w = Find(child);
    TWindow* p = Find(newParent);
    if (!w || !p || !w->Parent || child == newParent || IsChild(child, newParent)) {
        return 0;
    }
    HWND old = w->Parent;
    if (old == newParent) {
        return old;
    }
    const bool wasVisible = IsVisible(child);
    if (wasVisible) {
        InvalidateWindowArea(child);
    }
    Unlink(child);
    w->Parent = newParent;
    p->Children.insert(p->Children.begin(), child);
    if (wasVisible || IsVisible(child)) {
        InvalidateWindowArea(child);
    }
    return old;
}

HWND TWindowSystem::GetAncestor(HWND hwnd, UINT flags) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    switch (flags) {
    case GA_PARENT:
        return w->Parent;
    case GA_ROOT:
        while (w->Parent) {
            w = Find(w->Parent);
        }
        return w->Handle;
    case GA_ROOTOWNER: {
        while (w->Parent) {
            w = Find(w->Parent);
        }
        while (w->Owner && Find(w->Owner)) {
            w = Find(w->Owner);
        }
        return w->Handle;
    }
    default:
        return 0;
    }
}

HWND TWindowSystem::GetWindow(HWND hwnd, UINT cmd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    if (cmd == GW_CHILD) {
        return w->Children.empty() ? 0 : w->Children.front();
    }
    if (cmd == GW_OWNER) {
        return w->Owner;
    }
    const std::vector<HWND>* list = const_cast<TWindowSystem*>(this)->SiblingList(*w);
    if (!list || list->empty()) {
        return 0;
    }
    auto it = std::find(list->begin(), list->end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST:
        return list->front();
    case GW_HWNDLAST:
        return list->back();
    case GW_HWNDNEXT:
        return (it == list->end() || it + 1 == list->end()) ? 0 : *(it + 1);
    case GW_HWNDPREV:
        return (it == list->end() || it == list->begin()) ? 0 : *(it - 1);
    default:
        return 0;
    }
}

// ---- Window data ------------------------------------------------------------------------------------

LONG_PTR TWindowSystem::GetWindowLongPtr(HWND hwnd, int index) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->Style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->ExStyle);
    case GWLP_USERDATA:
        return w->UserData;
    case GWLP_ID:
        return w->Id;
    case GWLP_HWNDPARENT:
        return static_cast<LONG_PTR>(w->Parent ? w->Parent : w->Owner);
    default:
        return 0;
    }
}

LONG_PTR TWindowSystem::SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        // A null procedure would leave the window deaf; refuse it and keep the old one.
        if (value == 0) {
            return 0;
        }
        w->Proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        const WPARAM which = static_cast<WPARAM>(static_cast<std::intptr_t>(index));
        Send(hwnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&ss));
        w = Find(hwnd);
        if (!w) {
            return old;
        }
        if (index == GWL_STYLE) {
            // The tree shape cannot change through the style: WS_CHILD stays as it is.
            w->Style = (ss.styleNew & ~WS_CHILD) | (w->Style & WS_CHILD);
        } else {
            w->ExStyle = ss.styleNew;
        }
        Send(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&ss));
        break;
    }
    case GWLP_USERDATA:
        w->UserData = value;
        break;
    case GWLP_ID:
        w->Id = value;
        break;
    case GWLP_HWNDPARENT: {
        if (w->Parent) {
            return old;
        }
        HWND owner = static_cast<HWND>(value);
        w->Owner = owner && Find(owner) && owner != hwnd ? GetAncestor(owner, GA_ROOT) : 0;
        break;
    }
    default:
        return 0;
    }
    return old;
}

bool TWindowSystem::SetWindowText(HWND hwnd, const std::string& text) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    w->Text = text;
    if (!w->Parent && !w->MessageOnly) {
        m_backend->SetNativeWindowTitle(hwnd, text);
    }
    return true;
}

std::string TWindowSystem::GetWindowText(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    return w ? w->Text : std::string();
}

bool TWindowSystem::SetProp(HWND hwnd, const std::string& name, void* data) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    for (auto& [key, value] : w->Props) {
        if (key == name) {
            value = data;
            return true;
        }
    }
    w->Props.emplace_back(name, data);
    return true;
}

void* TWindowSystem::GetProp(HWND hwnd, const std::string& name) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return nullptr;
    }
    for (const auto& [key, value] : w->Props) {
        if (key == name) {
            return value;
        }
    }
    return nullptr;
}

void* TWindowSystem::RemoveProp(HWND hwnd, const std::string& name) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return nullptr;
    }
    for (auto it = w->Props.begin(); it != w->Props.end(); ++it) {
        if (it->first == name) {
            void* value = it->second;
            w->Props.erase(it);
            return value;
        }
    }
    return nullptr;
}
