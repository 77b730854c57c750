#include "toolkit/menus/MenuTracker.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/menus/MenuPainter.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <memory>
#include <optional>

// The engine, in sections:
//   Levels       one open menu window per level: its items, their rectangles, its selection
//   Changes      following items that change or go while the menu is open
//   Painting     the menu windows' WM_PAINT: frame, then each item (owner-drawn or classic)
//   Pointer      hover, presses and releases, the delayed opening of submenus
//   Keyboard     arrows, Enter, Escape, access keys, moving along a menu bar
//   The loop     TrackMenu: open, track, close, then pass a press on and click the chosen item

namespace {

constexpr const char* kMenuClass = "VarnelMenuWindow";
constexpr UINT_PTR kSubmenuTimer = 1;
// A measured item larger than this is taken to be a mistake of its handler.
constexpr int kMaxItemExtent = 4096;

struct TEntry {
    TMenuItem* Item = nullptr; // null once the item has been freed
    TRect Rect;                // in the menu window's client coordinates
};

struct TLevel {
    TMenuItem* Parent = nullptr; // whose items this level shows; null once freed
    HWND Window = 0;
    TRect Bounds; // the window on the screen
    std::vector<TEntry> Entries;
    int Selected = -1; // index in Entries, -1 for none
};

struct THit {
    std::size_t Level = 0;
    int Entry = -1; // -1: on the window but on no item
};

bool HasSubmenu(const TMenuItem* item) {
    if (!item) {
        return false;
    }
    for (int i = 0; i < item->Count(); ++i) {
        if (item->Items(i)->Visible()) {
            return true;
        }
    }
    return false;
}

bool IsPointerMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

enum class TPointerAction { Move, Press, Release, Other };

TPointerAction ActionOf(UINT message, bool& rightButton, bool& middleButton) {
    rightButton = false;
    middleButton = false;
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        return TPointerAction::Move;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        rightButton = true;
        return TPointerAction::Press;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        middleButton = true;
        return TPointerAction::Press;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return TPointerAction::Press;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        rightButton = true;
        return TPointerAction::Release;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP:
        middleButton = true;
        return TPointerAction::Release;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        return TPointerAction::Release;
    default:
        return TPointerAction::Other;
    }
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class TMenuTracker {
public:
    TMenuTracker(TMenuItem* root, const TTrackMenuParams& params);
    ~TMenuTracker();
    TMenuTracker(const TMenuTracker&) = delete;
    TMenuTracker& operator=(const TMenuTracker&) = delete;

    TTrackMenuResult Run();

    void ItemChanged() { m_dirty = true; }
    void ItemGone(TMenuItem* item);
    void End(TMenuCloseReason reason);
    bool Ending() const { return m_ended; }
    bool Owns(HWND hwnd) const { return LevelOf(hwnd) != nullptr; }
    void WindowDestroyed(HWND hwnd);
    void Paint(HWND hwnd);
    HWND WindowFromDC(HDC dc) const { return dc && dc == m_paintDC ? m_paintWindow : 0; }
    std::vector<HWND> Windows() const;
    bool ItemRect(const TMenuItem* item, TRect& screen) const;

private:
    // Levels.
    bool OpenLevel(TMenuItem* parent, bool selectFirst);
    void CloseLevelsFrom(std::size_t level);
    void BuildEntries(TLevel& level) const;
    TSize LayOut(TLevel& level);
    TRect ScreenRect() const;
    TLevel* LevelOf(HWND hwnd) const;
    TLevel& Deepest() { return *m_levels.back(); }
    bool Selectable(const TLevel& level, int entry) const;
    void Select(std::size_t level, int entry, bool byMouse = false);
    void NotifySelect(const TMenuItem* item, bool byMouse) const;
    void InvalidateEntry(const TLevel& level, int entry);
    int StepSelection(const TLevel& level, int from, int step) const;
    // The submenu of the selected item of level, at once; true when it opened.
    bool OpenSelectedSubmenu(std::size_t level, bool selectFirst);
    bool SubmenuOpenFor(std::size_t level, const TMenuItem* item) const;

    // Changes.
    void Sync();

    // Painting.
    void PaintEntry(HDC dc, const TLevel& level, int entry);

    // Pointer.
    void HandlePointer(const MSG& msg);
    std::optional<THit> HitTest(POINT screen) const;
    void Hover(std::size_t level, int entry);
    void ArmSubmenuTimer(std::size_t level);
    void DisarmSubmenuTimer();
    void SubmenuTimerFired();
    void Choose(TMenuItem* item);
    void PassPressOn(const MSG& press) const;

    // Keyboard.
    void HandleKey(const MSG& msg);
    void HandleAccessKey(char32_t key);

    TMenuItem* m_root;
    TTrackMenuParams m_params;
    TMenu* m_menu = nullptr;
    bool m_ownerDraw = false;
    HWND m_owner = 0;
    HWND m_activeAtStart = 0;
    std::vector<std::unique_ptr<TLevel>> m_levels;
    TFont m_font;
    TBitmap m_measureBitmap{1, 1};
    UINT m_submenuDelay = 400;

    bool m_ended = false;
    TMenuCloseReason m_reason = TMenuCloseReason::Cancelled;
    TMenuItem* m_chosen = nullptr;
    std::optional<MSG> m_passOn;
    // When the press passed on came from the exclusion rectangle: its time, and the press routed
    // before the menu opened, which it may complete to a double click. Any press on the menu
    // itself comes between them and invalidates the earlier one.
    std::int64_t m_passOnTime = 0;
    bool m_passOnMayDouble = false;
    TWindowSystem::TClickRecord m_clickBefore;
    bool m_dirty = false;
    bool m_closingWindows = false;
    // The level whose selection the submenu timer acts on when it fires; none when disarmed.
    std::optional<std::size_t> m_pendingLevel;
    std::optional<std::size_t> m_pointerLevel; // the level the pointer was last over

    HDC m_paintDC = nullptr;
    HWND m_paintWindow = 0;
};

TMenuTracker* g_tracker = nullptr;

// ---- Levels --------------------------------------------------------------------------------------

TMenuTracker::TMenuTracker(TMenuItem* root, const TTrackMenuParams& params) : m_root(root), m_params(params) {
    m_menu = root->GetParentMenu();
    m_ownerDraw = m_menu && m_menu->IsOwnerDraw();
    m_owner = params.Owner ? params.Owner : GetActiveWindow();
    m_activeAtStart = GetActiveWindow();
    GetSystemMenuFont(m_font);
    if (TWindowSystem* system = TWindowSystem::Current()) {
        m_clickBefore = system->LastClick();
    }
    UINT delay = 0;
    if (SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0)) {
        m_submenuDelay = delay;
    }
}

TMenuTracker::~TMenuTracker() {
    if (g_tracker == this) {
        g_tracker = nullptr;
    }
}

TRect TMenuTracker::ScreenRect() const {
    TWindowSystem* system = TWindowSystem::Current();
    return system ? system->Backend().ScreenRect() : TRect{};
}

TLevel* TMenuTracker::LevelOf(HWND hwnd) const {
    for (const auto& level : m_levels) {
        if (hwnd && level->Window == hwnd) {
            return level.get();
        }
    }
    return nullptr;
}

std::vector<HWND> TMenuTracker::Windows() const {
    std::vector<HWND> windows;
    for (const auto& level : m_levels) {
        if (level->Window) {
            windows.push_back(level->Window);
        }
    }
    return windows;
}

void TMenuTracker::BuildEntries(TLevel& level) const {
    level.Entries.clear();
    if (!level.Parent) {
        return;
    }
    // Separators with nothing to separate are left out: at either end and one after another.
    for (int i = 0; i < level.Parent->Count(); ++i) {
        TMenuItem* item = level.Parent->Items(i);
        if (!item->Visible()) {
            continue;
        }
        if (item->IsLine() && (level.Entries.empty() || level.Entries.back().Item->IsLine())) {
            continue;
        }
        level.Entries.push_back({item, {}});
    }
    while (!level.Entries.empty() && level.Entries.back().Item->IsLine()) {
        level.Entries.pop_back();
    }
}

TSize TMenuTracker::LayOut(TLevel& level) {
    TCanvas* canvas = m_measureBitmap.Canvas();
    std::vector<TSize> sizes;
    int width = 0;
    for (TEntry& entry : level.Entries) {
        canvas->SetFont(&m_font);
        TSize size{0, 0};
        if (entry.Item) {
            size = DefaultMenuItemSize(entry.Item, canvas);
            if (m_ownerDraw) {
                int w = size.cx;
                int h = size.cy;
                entry.Item->MeasureItem(canvas, w, h);
                size = {w, h};
            }
        }
        size.cx = std::clamp(size.cx, 0, kMaxItemExtent);
        size.cy = std::clamp(size.cy, 0, kMaxItemExtent);
        width = std::max(width, size.cx);
        sizes.push_back(size);
    }
    int y = kMenuFrameWidth;
    for (std::size_t i = 0; i < level.Entries.size(); ++i) {
        level.Entries[i].Rect = {kMenuFrameWidth, y, kMenuFrameWidth + width, y + sizes[i].cy};
        y += sizes[i].cy;
    }
    return {width + 2 * kMenuFrameWidth, y + kMenuFrameWidth};
}

bool TMenuTracker::OpenLevel(TMenuItem* parent, bool selectFirst) {
    // Classic menus tell a submenu's item before the submenu shows, so a handler can fill it.
    std::weak_ptr<void> alive = parent->Token();
    parent->Click();
    if (alive.expired() || m_ended) {
        return false;
    }
    auto level = std::make_unique<TLevel>();
    level->Parent = parent;
    BuildEntries(*level);
    if (level->Entries.empty()) {
        return false;
    }
    const TSize size = LayOut(*level);
    if (alive.expired() || m_ended) {
        return false;
    }
    const TRect screen = ScreenRect();
    if (m_levels.empty()) {
        level->Bounds = PlaceMenu(size, m_params.Position, m_params.Alignment, m_params.Exclude, screen);
    } else {
        const TLevel& above = *m_levels.back();
        const TRect item = above.Selected >= 0 ? above.Entries[static_cast<std::size_t>(above.Selected)].Rect
                                               : TRect{0, 0, 0, 0};
        level->Bounds =
            PlaceSubmenu(size, above.Bounds, item.Offset(above.Bounds.Left, above.Bounds.Top), screen);
    }
    const TRect& b = level->Bounds;
    level->Window = CreateWindowEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kMenuClass, "", WS_POPUP, b.Left, b.Top,
                                   b.Width(), b.Height(), m_owner, 0, nullptr);
    if (!level->Window) {
        return false;
    }
    TLevel& added = *level;
    m_levels.push_back(std::move(level));
    if (selectFirst) {
        Select(m_levels.size() - 1, StepSelection(added, -1, 1));
    }
    ShowWindow(added.Window, SW_SHOWNOACTIVATE);
    UpdateWindow(added.Window);
    return true;
}

void TMenuTracker::CloseLevelsFrom(std::size_t level) {
    while (m_levels.size() > level) {
        const HWND window = m_levels.back()->Window;
        m_closingWindows = true;
        m_levels.pop_back();
        if (window) {
            DestroyWindow(window);
        }
        m_closingWindows = false;
    }
    if (m_pendingLevel && *m_pendingLevel >= m_levels.size()) {
        DisarmSubmenuTimer();
    }
    if (m_pointerLevel && *m_pointerLevel >= m_levels.size()) {
        m_pointerLevel.reset();
    }
}

bool TMenuTracker::Selectable(const TLevel& level, int entry) const {
    if (entry < 0 || entry >= static_cast<int>(level.Entries.size())) {
        return false;
    }
    const TMenuItem* item = level.Entries[static_cast<std::size_t>(entry)].Item;
    return item && !item->IsLine();
}

int TMenuTracker::StepSelection(const TLevel& level, int from, int step) const {
    const int count = static_cast<int>(level.Entries.size());
    if (count == 0) {
        return -1;
    }
    int index = from;
    if (index < 0) {
        index = step > 0 ? -1 : count;
    }
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (Selectable(level, index)) {
            return index;
        }
    }
    return -1;
}

void TMenuTracker::InvalidateEntry(const TLevel& level, int entry) {
    if (entry >= 0 && entry < static_cast<int>(level.Entries.size()) && level.Window) {
        const TRect rect = level.Entries[static_cast<std::size_t>(entry)].Rect;
        InvalidateRect(level.Window, &rect, FALSE);
    }
}

void TMenuTracker::Select(std::size_t level, int entry, bool byMouse) {
    TLevel& l = *m_levels[level];
    if (l.Selected == entry) {
        return;
    }
    InvalidateEntry(l, l.Selected);
    l.Selected = entry;
    InvalidateEntry(l, entry);
    if (Selectable(l, entry)) {
        NotifySelect(l.Entries[static_cast<std::size_t>(entry)].Item, byMouse);
    }
}

void TMenuTracker::NotifySelect(const TMenuItem* item, bool byMouse) const {
    if (!m_owner) {
        return;
    }
    UINT flags = MF_HILITE;
    if (!item->Enabled()) {
        flags |= MF_GRAYED | MF_DISABLED;
    }
    if (item->Checked()) {
        flags |= MF_CHECKED;
    }
    if (HasSubmenu(item)) {
        flags |= MF_POPUP;
    }
    if (byMouse) {
        flags |= MF_MOUSESELECT;
    }
    SendMessage(m_owner, WM_MENUSELECT, MAKEWPARAM(item->Command(), static_cast<WORD>(flags)), 0);
}

bool TMenuTracker::ItemRect(const TMenuItem* item, TRect& screen) const {
    for (const auto& level : m_levels) {
        for (const TEntry& entry : level->Entries) {
            if (item && entry.Item == item) {
                screen = entry.Rect.Offset(level->Bounds.Left, level->Bounds.Top);
                return true;
            }
        }
    }
    return false;
}

bool TMenuTracker::SubmenuOpenFor(std::size_t level, const TMenuItem* item) const {
    return item && level + 1 < m_levels.size() && m_levels[level + 1]->Parent == item;
}

bool TMenuTracker::OpenSelectedSubmenu(std::size_t level, bool selectFirst) {
    TLevel& l = *m_levels[level];
    if (!Selectable(l, l.Selected)) {
        return false;
    }
    TMenuItem* item = l.Entries[static_cast<std::size_t>(l.Selected)].Item;
    if (!HasSubmenu(item) || !item->Enabled()) {
        return false;
    }
    if (SubmenuOpenFor(level, item)) {
        CloseLevelsFrom(level + 2);
        if (selectFirst && m_levels[level + 1]->Selected < 0) {
            Select(level + 1, StepSelection(*m_levels[level + 1], -1, 1));
        }
        return true;
    }
    CloseLevelsFrom(level + 1);
    return OpenLevel(item, selectFirst);
}

// ---- Changes ---------------------------------------------------------------------------------------

void TMenuTracker::ItemGone(TMenuItem* item) {
    for (auto& level : m_levels) {
        if (level->Parent == item) {
            level->Parent = nullptr;
        }
        for (TEntry& entry : level->Entries) {
            if (entry.Item == item) {
                entry.Item = nullptr;
            }
        }
    }
    if (m_chosen == item) {
        m_chosen = nullptr;
    }
    if (m_root == item) {
        m_root = nullptr;
        End(TMenuCloseReason::Cancelled);
    }
    m_dirty = true;
}

// Brings every open level in line with its items after changes: a level whose item went, or
// whose item is no longer where its submenu was opened, closes with those below it; the others
// are measured and painted again, keeping their selected item when it is still there.
void TMenuTracker::Sync() {
    if (!m_dirty) {
        return;
    }
    m_dirty = false;
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        TLevel& level = *m_levels[i];
        bool keep = level.Parent != nullptr;
        if (keep && i > 0) {
            const TLevel& above = *m_levels[i - 1];
            keep = above.Selected >= 0 &&
                   above.Entries[static_cast<std::size_t>(above.Selected)].Item == level.Parent &&
                   level.Parent->Enabled();
        }
        TMenuItem* selected =
            level.Selected >= 0 ? level.Entries[static_cast<std::size_t>(level.Selected)].Item : nullptr;
        if (keep) {
            BuildEntries(level);
            keep = !level.Entries.empty();
        }
        if (!keep) {
            CloseLevelsFrom(i);
            if (i == 0) {
                End(TMenuCloseReason::Cancelled);
            }
            return;
        }
        const TSize size = LayOut(level);
        if (m_ended) {
            return;
        }
        level.Selected = -1;
        for (std::size_t e = 0; e < level.Entries.size(); ++e) {
            if (selected && level.Entries[e].Item == selected && !selected->IsLine()) {
                level.Selected = static_cast<int>(e);
            }
        }
        const TRect screen = ScreenRect();
        const int width = std::min(size.cx, screen.Width());
        const int height = std::min(size.cy, screen.Height());
        const int left =
            std::clamp(level.Bounds.Left, screen.Left, std::max(screen.Left, screen.Right - width));
        const int top =
            std::clamp(level.Bounds.Top, screen.Top, std::max(screen.Top, screen.Bottom - height));
        level.Bounds = {left, top, left + width, top + height};
        SetWindowPos(level.Window, 0, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(level.Window, nullptr, FALSE);
    }
}

// ---- Painting ---------------------------------------------------------------------------------------

void TMenuTracker::Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const TLevel* level = LevelOf(hwnd);
    if (dc && level) {
        m_paintDC = dc;
        m_paintWindow = hwnd;
        RECT client;
        GetClientRect(hwnd, &client);
        {
            TCanvas canvas(dc);
            DrawMenuFrame(&canvas, client);
            const int bottom = level->Entries.empty() ? kMenuFrameWidth : level->Entries.back().Rect.Bottom;
            canvas.Brush()->SetColor(clMenu);
            canvas.FillRect(
                {kMenuFrameWidth, bottom, client.Right - kMenuFrameWidth, client.Bottom - kMenuFrameWidth});
        }
        for (std::size_t i = 0; i < level->Entries.size(); ++i) {
            // A handler may close the menu or free items while it draws.
            if (!LevelOf(hwnd)) {
                break;
            }
            // Only items that need painting are asked to draw: owner-draw handlers may be slow.
            if (RectVisible(dc, &level->Entries[i].Rect)) {
                PaintEntry(dc, *level, static_cast<int>(i));
            }
        }
        m_paintDC = nullptr;
        m_paintWindow = 0;
    }
    EndPaint(hwnd, &ps);
}

void TMenuTracker::PaintEntry(HDC dc, const TLevel& level, int index) {
    TMenuItem* item = level.Entries[static_cast<std::size_t>(index)].Item;
    const TRect rect = level.Entries[static_cast<std::size_t>(index)].Rect;
    if (!item) {
        return;
    }
    const bool selected = index == level.Selected;
    const TOwnerDrawState state = MenuItemDrawState(item, selected);
    const TColor textColor = !item->Enabled() ? clGrayText : (selected ? clHighlightText : clMenuText);

    // Each item starts from the same canvas state; what a handler leaves on the context stays
    // with its item.
    const int saved = SaveDC(dc);
    {
        TCanvas canvas(dc);
        canvas.SetFont(&m_font);
        canvas.Font()->SetColor(selected ? clHighlightText : clMenuText);
        canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
        std::weak_ptr<void> alive = item->Token();
        if (m_ownerDraw) {
            item->AdvancedDrawItem(&canvas, rect, state);
        } else {
            DrawDefaultMenuItem(item, &canvas, rect, state);
        }
        if (!alive.expired() && HasSubmenu(item)) {
            // Drawn over owner-drawn items too, in the colour their text was left in.
            DrawSubmenuArrow(&canvas, rect, m_ownerDraw ? canvas.Font()->Color() : textColor);
        }
    }
    RestoreDC(dc, saved);
}

// ---- Pointer ----------------------------------------------------------------------------------------

std::optional<THit> TMenuTracker::HitTest(POINT screen) const {
    for (std::size_t i = m_levels.size(); i-- > 0;) {
        const TLevel& level = *m_levels[i];
        if (!level.Window || !level.Bounds.Contains(screen)) {
            continue;
        }
        const POINT local{screen.X - level.Bounds.Left, screen.Y - level.Bounds.Top};
        for (std::size_t e = 0; e < level.Entries.size(); ++e) {
            if (level.Entries[e].Rect.Contains(local)) {
                return THit{i, static_cast<int>(e)};
            }
        }
        return THit{i, -1};
    }
    return std::nullopt;
}

void TMenuTracker::HandlePointer(const MSG& msg) {
    bool right = false;
    bool middle = false;
    const TPointerAction action = ActionOf(msg.message, right, middle);
    const std::optional<THit> hit = HitTest(msg.pt);
    const bool buttonChooses = !middle && !(right && m_params.LeftButtonOnly);

    switch (action) {
    case TPointerAction::Move:
        if (hit) {
            Hover(hit->Level, hit->Entry);
            return;
        }
        // Off the menus: an item whose submenu is not open stops being highlighted.
        if (m_pointerLevel) {
            const std::size_t level = *m_pointerLevel;
            const TLevel& l = *m_levels[level];
            if (l.Selected >= 0 &&
                !SubmenuOpenFor(level, l.Entries[static_cast<std::size_t>(l.Selected)].Item)) {
                Select(level, -1);
                if (m_pendingLevel == level) {
                    DisarmSubmenuTimer();
                }
            }
            m_pointerLevel.reset();
        }
        if (m_params.OnBarPointer && m_params.OnBarPointer(msg.pt)) {
            End(TMenuCloseReason::PointerSwitched);
        }
        return;
    case TPointerAction::Press:
        if (!hit) {
            if (!m_params.Exclude.IsEmpty() && m_params.Exclude.Contains(msg.pt)) {
                if (m_params.PassExcludedPress) {
                    m_passOn = msg;
                    m_passOnMayDouble = true;
                    TWindowSystem* system = TWindowSystem::Current();
                    m_passOnTime = system ? system->Now() : 0;
                }
                End(TMenuCloseReason::ClickedExcluded);
            } else {
                m_passOn = msg;
                End(TMenuCloseReason::ClickedOutside);
            }
            return;
        }
        m_clickBefore.Valid = false;
        if (buttonChooses && Selectable(*m_levels[hit->Level], hit->Entry)) {
            DisarmSubmenuTimer();
            Select(hit->Level, hit->Entry, true);
            m_pointerLevel = hit->Level;
            // A press opens a submenu at once, without the hover delay.
            if (!OpenSelectedSubmenu(hit->Level, false)) {
                CloseLevelsFrom(hit->Level + 1);
            }
        }
        return;
    case TPointerAction::Release:
        if (hit && buttonChooses && Selectable(*m_levels[hit->Level], hit->Entry)) {
            TMenuItem* item = m_levels[hit->Level]->Entries[static_cast<std::size_t>(hit->Entry)].Item;
            if (item->Enabled() && !HasSubmenu(item)) {
                Choose(item);
            }
        }
        return;
    case TPointerAction::Other:
        return;
    }
}

void TMenuTracker::Hover(std::size_t level, int entry) {
    m_pointerLevel = level;
    // Coming into an open submenu keeps (or puts back) the highlight on the item that opened it,
    // and a pending switch to another item of the menu above is called off.
    if (level > 0) {
        TLevel& above = *m_levels[level - 1];
        for (std::size_t e = 0; e < above.Entries.size(); ++e) {
            if (above.Entries[e].Item == m_levels[level]->Parent) {
                Select(level - 1, static_cast<int>(e), true);
            }
        }
        if (m_pendingLevel == level - 1) {
            DisarmSubmenuTimer();
        }
    }
    TLevel& l = *m_levels[level];
    if (!Selectable(l, entry)) {
        if (l.Selected >= 0 && !SubmenuOpenFor(level, l.Entries[static_cast<std::size_t>(l.Selected)].Item)) {
            Select(level, -1);
        }
        if (m_pendingLevel == level) {
            DisarmSubmenuTimer();
        }
        return;
    }
    if (l.Selected == entry) {
        return;
    }
    Select(level, entry, true);
    TMenuItem* item = l.Entries[static_cast<std::size_t>(entry)].Item;
    // Submenus open and close after a pause, so that the pointer can cross other items on its
    // way into an open submenu.
    if (HasSubmenu(item) || level + 1 < m_levels.size()) {
        ArmSubmenuTimer(level);
    } else if (m_pendingLevel == level) {
        DisarmSubmenuTimer();
    }
}

void TMenuTracker::ArmSubmenuTimer(std::size_t level) {
    if (m_levels.empty() || !m_levels.front()->Window) {
        return;
    }
    m_pendingLevel = level;
    SetTimer(m_levels.front()->Window, kSubmenuTimer, static_cast<int>(m_submenuDelay), nullptr);
}

void TMenuTracker::DisarmSubmenuTimer() {
    if (m_pendingLevel && !m_levels.empty() && m_levels.front()->Window) {
        KillTimer(m_levels.front()->Window, kSubmenuTimer);
    }
    m_pendingLevel.reset();
}

void TMenuTracker::SubmenuTimerFired() {
    const std::optional<std::size_t> pending = m_pendingLevel;
    DisarmSubmenuTimer();
    if (!pending || *pending >= m_levels.size()) {
        return;
    }
    const std::size_t level = *pending;
    const TLevel& l = *m_levels[level];
    TMenuItem* item =
        Selectable(l, l.Selected) ? l.Entries[static_cast<std::size_t>(l.Selected)].Item : nullptr;
    if (SubmenuOpenFor(level, item)) {
        CloseLevelsFrom(level + 2);
        return;
    }
    CloseLevelsFrom(level + 1);
    if (item && HasSubmenu(item) && item->Enabled()) {
        OpenLevel(item, false);
    }
}

void TMenuTracker::Choose(TMenuItem* item) {
    m_chosen = item;
    End(TMenuCloseReason::Chosen);
}

// The press that closed the menu goes on to the window it fell on, as if no menu had been
// open: activation first, then the button message in the form that window would have had.
void TMenuTracker::PassPressOn(const MSG& press) const {
    TWindowSystem* system = TWindowSystem::Current();
    if (!system) {
        return;
    }
    int hit = HTNOWHERE;
    const HWND target = system->WindowFromPoint(press.pt, &hit);
    if (!target || !system->IsEnabledTree(target)) {
        return;
    }
    UINT clientMessage = press.message;
    if (clientMessage >= WM_NCMOUSEMOVE && clientMessage <= WM_NCMBUTTONDBLCLK) {
        clientMessage += WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
    }
    const bool client = hit == HTCLIENT;
    UINT message = client ? clientMessage : clientMessage - (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN);
    if (m_passOnMayDouble && system->IsDoubleClick(m_clickBefore, target, message, m_passOnTime, press.pt)) {
        message += 2;
    }
    const HWND top = GetAncestor(target, GA_ROOT);
    if (top != GetActiveWindow() && !(GetWindowLongPtr(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) {
        const LRESULT answer =
            SendMessage(target, WM_MOUSEACTIVATE, top, MAKELPARAM(hit, static_cast<int>(message)));
        if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
            SetActiveWindow(top);
        }
        if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT || !IsWindow(target)) {
            return;
        }
    }
    SendMessage(target, WM_SETCURSOR, target, MAKELPARAM(hit, static_cast<int>(message)));
    if (client) {
        POINT p = press.pt;
        ScreenToClient(target, &p);
        WPARAM keys = 0;
        if (GetKeyState(VK_LBUTTON) < 0) {
            keys |= MK_LBUTTON;
        }
        if (GetKeyState(VK_RBUTTON) < 0) {
            keys |= MK_RBUTTON;
        }
        if (GetKeyState(VK_MBUTTON) < 0) {
            keys |= MK_MBUTTON;
        }
        if (GetKeyState(VK_SHIFT) < 0) {
            keys |= MK_SHIFT;
        }
        if (GetKeyState(VK_CONTROL) < 0) {
            keys |= MK_CONTROL;
        }
        PostMessage(target, message, keys, PointToLParam(p));
    } else {
        PostMessage(target, message, static_cast<WPARAM>(static_cast<std::intptr_t>(hit)),
                    PointToLParam(press.pt));
    }
}

// ---- Keyboard ---------------------------------------------------------------------------------------

void TMenuTracker::HandleKey(const MSG& msg) {
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        const auto key = static_cast<char32_t>(msg.wParam);
        if (key >= 0x20) {
            HandleAccessKey(key);
        }
        return;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
        return;
    }
    DisarmSubmenuTimer();
    const std::size_t depth = m_levels.size() - 1;
    TLevel& deepest = Deepest();
    switch (static_cast<int>(msg.wParam)) {
    case VK_MENU:
    case VK_F10:
        End(TMenuCloseReason::Cancelled);
        return;
    case VK_UP:
        Select(depth, StepSelection(deepest, deepest.Selected, -1));
        return;
    case VK_DOWN:
        Select(depth, StepSelection(deepest, deepest.Selected, 1));
        return;
    case VK_HOME:
        Select(depth, StepSelection(deepest, -1, 1));
        return;
    case VK_END:
        Select(depth, StepSelection(deepest, -1, -1));
        return;
    case VK_RIGHT:
        if (OpenSelectedSubmenu(depth, true)) {
            return;
        }
        if (m_params.OnBarKey && m_params.OnBarKey(TMenuBarDirection::Next)) {
            End(TMenuCloseReason::MovedNext);
        }
        return;
    case VK_LEFT:
        if (depth > 0) {
            CloseLevelsFrom(depth);
            return;
        }
        if (m_params.OnBarKey && m_params.OnBarKey(TMenuBarDirection::Previous)) {
            End(TMenuCloseReason::MovedPrevious);
        }
        return;
    case VK_ESCAPE:
        if (depth > 0) {
            CloseLevelsFrom(depth);
        } else {
            End(TMenuCloseReason::Escaped);
        }
        return;
    case VK_RETURN: {
        if (!Selectable(deepest, deepest.Selected)) {
            return;
        }
        TMenuItem* item = deepest.Entries[static_cast<std::size_t>(deepest.Selected)].Item;
        if (HasSubmenu(item)) {
            OpenSelectedSubmenu(depth, true);
        } else if (item->Enabled()) {
            Choose(item);
        }
        return;
    }
    default:
        return;
    }
}

// The access key of an item in the deepest open menu: the only item with that key is chosen (or
// its submenu opened); several with the same key are stepped through without choosing.
void TMenuTracker::HandleAccessKey(char32_t key) {
    const std::size_t depth = m_levels.size() - 1;
    TLevel& deepest = Deepest();
    std::vector<int> matches;
    for (std::size_t e = 0; e < deepest.Entries.size(); ++e) {
        const TMenuItem* item = deepest.Entries[e].Item;
        if (Selectable(deepest, static_cast<int>(e)) && SameHotkey(MenuItemHotkey(item), key)) {
            matches.push_back(static_cast<int>(e));
        }
    }
    if (matches.empty()) {
        MessageBeep(0);
        return;
    }
    if (matches.size() > 1) {
        auto next = std::upper_bound(matches.begin(), matches.end(), deepest.Selected);
        Select(depth, next == matches.end() ? matches.front() : *next);
        return;
    }
    Select(depth, matches.front());
    // The owner heard of the selection and may have freed the item meanwhile.
    TMenuItem* item = deepest.Entries[static_cast<std::size_t>(matches.front())].Item;
    if (!item) {
        return;
    }
    if (HasSubmenu(item)) {
        OpenSelectedSubmenu(depth, true);
    } else if (item->Enabled()) {
        Choose(item);
    }
}

// ---- The loop -----------------------------------------------------------------------------------------

void TMenuTracker::End(TMenuCloseReason reason) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_reason = reason;
}

void TMenuTracker::WindowDestroyed(HWND hwnd) {
    if (m_closingWindows) {
        return;
    }
    // Destroyed by someone else (its owner went): the menu cannot go on.
    for (auto& level : m_levels) {
        if (level->Window == hwnd) {
            level->Window = 0;
        }
    }
    End(TMenuCloseReason::Cancelled);
}

TTrackMenuResult TMenuTracker::Run() {
    TTrackMenuResult result;
    std::weak_ptr<void> rootAlive = m_root->Token();
    if (!OpenLevel(m_root, m_params.SelectFirst) || rootAlive.expired()) {
        CloseLevelsFrom(0);
        return result;
    }
    const HWND captureWindow = m_levels.front()->Window;
    SetCapture(captureWindow);
    if (m_owner) {
        SendMessage(m_owner, WM_ENTERMENULOOP, TRUE, 0);
    }

    while (!m_ended) {
        // Anything may have happened since the last round, in a dispatched message or while
        // waiting: the menu closes when the program has moved on without it.
        if ((m_activeAtStart && GetActiveWindow() != m_activeAtStart) || (m_owner && !IsWindow(m_owner)) ||
            !IsWindow(captureWindow)) {
            End(TMenuCloseReason::Cancelled);
            break;
        }
        Sync();
        if (m_ended) {
            break;
        }
        MSG msg;
        if (!PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The outer loop must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            End(TMenuCloseReason::Cancelled);
            break;
        }
        if (IsPointerMessage(msg.message)) {
            HandlePointer(msg);
        } else if (IsKeyMessage(msg.message)) {
            HandleKey(msg);
        } else if (msg.message == WM_TIMER && msg.wParam == kSubmenuTimer && Owns(msg.hwnd)) {
            SubmenuTimerFired();
        } else {
            DispatchMessage(&msg);
        }
    }

    DisarmSubmenuTimer();
    if (Owns(GetCapture())) {
        ReleaseCapture();
    }
    CloseLevelsFrom(0);
    if (g_tracker == this) {
        g_tracker = nullptr;
    }
    if (m_owner && IsWindow(m_owner)) {
        SendMessage(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(m_owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (m_passOn) {
        PassPressOn(*m_passOn);
    }
    result.Reason = m_reason;
    if (m_reason == TMenuCloseReason::Chosen && m_chosen) {
        if (m_params.ReturnCommand) {
            result.Chosen = m_chosen;
        } else {
            m_chosen->Click();
        }
    }
    return result;
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TMenuTracker* tracker = g_tracker && g_tracker->Owns(hwnd) ? g_tracker : nullptr;
    switch (message) {
    case WM_PAINT:
        if (tracker) {
            tracker->Paint(hwnd);
        } else {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        if (tracker) {
            tracker->End(TMenuCloseReason::Cancelled);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the pointer: the menu closes, as classic menus do.
        if (tracker && !tracker->Ending() && !tracker->Owns(static_cast<HWND>(lParam))) {
            tracker->End(TMenuCloseReason::Cancelled);
        }
        return 0;
    case WM_DESTROY:
        if (tracker) {
            tracker->WindowDestroyed(hwnd);
        }
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

bool RegisterMenuWindowClass() {
    WNDCLASS existing;
    if (GetClassInfo(kMenuClass, &existing)) {
        return true;
    }
    WNDCLASS wc;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = clNone;
    wc.lpszClassName = kMenuClass;
    return RegisterClass(&wc) != 0;
}

} // namespace

// ---- Public entry points ---------------------------------------------------------------------------

TTrackMenuResult TrackMenu(TMenuItem* root, const TTrackMenuParams& params) {
    if (!root || g_tracker || !TWindowSystem::Current() || !RegisterMenuWindowClass()) {
        return {};
    }
    TMenuTracker tracker(root, params);
    g_tracker = &tracker;
    return tracker.Run();
}

bool IsMenuActive() {
    return g_tracker != nullptr;
}

void EndMenu() {
    if (g_tracker) {
        g_tracker->End(TMenuCloseReason::Cancelled);
    }
}

std::vector<HWND> OpenMenuWindows() {
    return g_tracker ? g_tracker->Windows() : std::vector<HWND>{};
}

bool GetOpenMenuItemRect(const TMenuItem* item, TRect& screen) {
    return g_tracker && g_tracker->ItemRect(item, screen);
}

HWND MenuWindowFromDC(HDC dc) {
    return g_tracker ? g_tracker->WindowFromDC(dc) : 0;
}

void MenuItemChanged(TMenuItem* /*item*/) {
    if (g_tracker) {
        g_tracker->ItemChanged();
    }
}

void MenuItemGone(TMenuItem* item) {
    if (g_tracker) {
        g_tracker->ItemGone(item);
    }
}

TRect PlaceMenu(TSize size, TPoint position, TPopupAlignment alignment, const TRect& exclude,
                const TRect& screen) {
    const int width = std::clamp(size.cx, 0, screen.Width());
    const int height = std::clamp(size.cy, 0, screen.Height());
    int x = position.X;
    if (alignment == paRight) {
        x -= width;
    } else if (alignment == paCenter) {
        x -= width / 2;
    }
    if (x + width > screen.Right) {
        x = alignment == paLeft && position.X - width >= screen.Left ? position.X - width
                                                                     : screen.Right - width;
    }
    if (x < screen.Left) {
        x = alignment == paRight && position.X + width <= screen.Right ? position.X : screen.Left;
    }
    int y = position.Y;
    if (y + height > screen.Bottom) {
        const int above = (exclude.IsEmpty() ? position.Y : exclude.Top) - height;
        y = above >= screen.Top ? above : screen.Bottom - height;
    }
    y = std::max(y, screen.Top);
    return {x, y, x + width, y + height};
}

TRect PlaceSubmenu(TSize size, const TRect& parentWindow, const TRect& parentItem, const TRect& screen) {
    const int width = std::clamp(size.cx, 0, screen.Width());
    const int height = std::clamp(size.cy, 0, screen.Height());
    // Overlapping the parent's frame makes the submenu read as attached to it.
    int x = parentWindow.Right - kMenuFrameWidth;
    if (x + width > screen.Right) {
        x = parentWindow.Left - width + kMenuFrameWidth;
    }
    x = std::clamp(x, screen.Left, screen.Right - width);
    int y = parentItem.Top - kMenuFrameWidth;
    if (y + height > screen.Bottom) {
        y = screen.Bottom - height;
    }
    y = std::max(y, screen.Top);
    return {x, y, x + width, y + height};
}
