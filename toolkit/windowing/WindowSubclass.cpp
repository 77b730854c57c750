#include "toolkit/windowing/WindowSubclass.h"

#include "toolkit/windowing/WinUser.h"

namespace {

constexpr const char* kSubclassProp = "VarnelSubclass";

WNDPROC CurrentProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hwnd, GWLP_WNDPROC));
}

} // namespace

// What a subclassed window carries, through its property, for as long as the trampoline may be
// called for it.
struct TSubclassRecord {
    HWND Window = 0;
    WNDPROC Saved = nullptr;
    TWindowSubclass* Owner = nullptr; // none once the object has gone: messages pass through
    int Depth = 0;                    // trampoline calls running for this record
    bool Detached = false;            // no longer the window's property; the last call frees it
};

namespace {

// Takes the record off its window; it is freed now, or by the trampoline call that still runs.
void Detach(TSubclassRecord* record) {
    if (record->Detached) {
        return;
    }
    record->Detached = true;
    if (record->Owner) {
        record->Owner = nullptr;
    }
    if (::GetProp(record->Window, kSubclassProp) == record) {
        ::RemoveProp(record->Window, kSubclassProp);
    }
    if (record->Depth == 0) {
        delete record;
    }
}

} // namespace

LRESULT SubclassTrampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = static_cast<TSubclassRecord*>(::GetProp(hwnd, kSubclassProp));
    if (!record) {
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }
    ++record->Depth;
    LRESULT result = ::CallWindowProc(record->Saved, hwnd, message, wParam, lParam);
    // The saved procedure may have freed the object (Owner is then none) or taken the record off.
    if (TWindowSubclass* owner = record->Owner; owner && !record->Detached) {
        // By copy: the object may free itself, and with it the procedure that is running.
        const TWindowSubclass::TAfterProc after = owner->m_after;
        result = after(message, wParam, lParam, result);
    }
    if (message == WM_NCDESTROY && !record->Detached) {
        if (record->Owner) {
            record->Owner->m_record = nullptr;
        }
        ++record->Depth; // Detach must not free what this call still reads below
        Detach(record);
        --record->Depth;
    }
    if (--record->Depth == 0 && record->Detached) {
        delete record;
    }
    return result;
}

TWindowSubclass::TWindowSubclass(TAfterProc after) : m_after(std::move(after)) {}

TWindowSubclass::~TWindowSubclass() {
    Remove();
}

bool TWindowSubclass::Install(HWND hwnd) {
    if (!::IsWindow(hwnd) || ::GetProp(hwnd, kSubclassProp)) {
        return false;
    }
    const WNDPROC saved = CurrentProc(hwnd);
    if (!saved) {
        return false;
    }
    Remove();
    auto* record = new TSubclassRecord{hwnd, saved, this};
    ::SetProp(hwnd, kSubclassProp, record);
    ::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassTrampoline));
    m_record = record;
    return true;
}

void TWindowSubclass::Remove() {
    TSubclassRecord* record = m_record;
    if (!record) {
        return;
    }
    m_record = nullptr;
    record->Owner = nullptr;
    if (!::IsWindow(record->Window) || CurrentProc(record->Window) != &SubclassTrampoline) {
        // Someone put a procedure on top of ours (or the window is going): the record keeps
        // passing messages through until WM_NCDESTROY.
        return;
    }
    ::SetWindowLongPtr(record->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->Saved));
    Detach(record);
}

HWND TWindowSubclass::Window() const {
    return m_record ? m_record->Window : 0;
}

WNDPROC TWindowSubclass::SavedProc() const {
    return m_record ? m_record->Saved : nullptr;
}
