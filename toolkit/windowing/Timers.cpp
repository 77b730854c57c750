#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

UINT_PTR TWindowSystem::SetTimer(HWND hwnd, UINT_PTR id, int intervalMs, TIMERPROC proc) {
    if (hwnd != 0) {
        const TWindow* w = Find(hwnd);
        if (!w || w->Destroying) {
            return 0;
        }
    }
    const std::int64_t now = Now();
    auto existing = std::find_if(m_timers.begin(), m_timers.end(),
                                 [&](const TTimer& t) { return t.Window == hwnd && t.Id == id; });
    if (hwnd == 0 && existing == m_timers.end()) {
        // A timer without a window gets an id of its own.
        do {
            id = m_nextThreadTimerId++;
            if (m_nextThreadTimerId == 0) {
                m_nextThreadTimerId = 1;
            }
        } while (std::any_of(m_timers.begin(), m_timers.end(),
                             [&](const TTimer& t) { return t.Window == 0 && t.Id == id; }));
    }
    if (existing != m_timers.end()) {
        // Setting it again starts the interval afresh.
        existing->Interval = intervalMs;
        existing->Due = now + std::max(intervalMs, 0);
        existing->Proc = proc;
        existing->Sequence = ++m_timerSequence;
        return id == 0 ? 1 : id;
    }
    TTimer timer;
    timer.Window = hwnd;
    timer.Id = id;
    timer.Interval = intervalMs;
    timer.Due = now + std::max(intervalMs, 0);
    timer.Proc = proc;
    timer.Sequence = ++m_timerSequence;
    m_timers.push_back(timer);
    return id == 0 ? 1 : id;
}

bool TWindowSystem::KillTimer(HWND hwnd, UINT_PTR id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const TTimer& t) { return t.Window == hwnd && t.Id == id; });
    if (it == m_timers.end()) {
        return false;
    }
    m_timers.erase(it);
    return true;
}

std::optional<std::int64_t> TWindowSystem::NextDue() const {
    std::optional<std::int64_t> next;
    for (const TTimer& t : m_timers) {
        if (t.Interval > 0 && (!next || t.Due < *next)) {
            next = t.Due;
        }
    }
    if ((m_tracking.Flags & TME_HOVER) && m_tracking.Window && (!next || m_tracking.HoverDue < *next)) {
        next = m_tracking.HoverDue;
    }
    return next;
}

void TWindowSystem::AdvanceClockTo(std::int64_t target) {
    if (!m_clock->IsManual()) {
        return;
    }
    auto& clock = static_cast<TManualClock&>(*m_clock);
    if (m_idleWaitDepth > 0) {
        // Called from inside a nested loop's wait (a scripted step): that loop delivers the
        // timers itself as it steps the clock (StepTowardsClockTarget).
        m_clockTarget = std::max(m_clockTarget.value_or(Now()), target);
        return;
    }
    for (;;) {
        if (!PumpPending()) {
            break;
        }
        std::optional<std::int64_t> next = NextDue();
        if (!next || *next > target || *next <= Now()) {
            break;
        }
        clock.SetNow(*next);
    }
    clock.SetNow(target);
    PumpPending();
}

bool TWindowSystem::StepTowardsClockTarget() {
    if (!m_clockTarget || !m_clock->IsManual()) {
        return false;
    }
    auto& clock = static_cast<TManualClock&>(*m_clock);
    const std::int64_t now = Now();
    const std::int64_t target = *m_clockTarget;
    if (now >= target) {
        m_clockTarget.reset();
        return false;
    }
    std::optional<std::int64_t> next = NextDue();
    const std::int64_t step = (next && *next > now && *next < target) ? *next : target;
    clock.SetNow(step);
    if (step >= target) {
        m_clockTarget.reset();
    }
    return true;
}
