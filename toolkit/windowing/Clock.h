#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// Where the toolkit's time comes from: message times, timers, double-click timing, presentation
// pacing. The program runs on the steady clock; tests run on a manual clock that only moves when
// the test advances it, so timer behaviour is exact and no test ever sleeps.
class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::int64_t NowMs() const = 0;
    virtual bool IsManual() const { return false; }
};

class TSteadyClock final : public TClock {
public:
    TSteadyClock() : m_start(std::chrono::steady_clock::now()) {}
    std::int64_t NowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

// A clock that stands still until Advance is called. The window system that runs on it installs
// an advancer, so that Advance steps through every timer that falls due on the way, in order,
// and lets the message loop deliver each one before time moves on.
class TManualClock final : public TClock {
public:
    explicit TManualClock(std::int64_t start = 0) : m_now(start) {}
    std::int64_t NowMs() const override { return m_now; }
    bool IsManual() const override { return true; }

    void Advance(std::int64_t ms) {
        if (ms <= 0) {
            return;
        }
        if (m_advancer) {
            m_advancer(m_now + ms);
        } else {
            m_now += ms;
        }
    }
    // Moves time forward to t without delivering anything; earlier times are ignored.
    void SetNow(std::int64_t t) {
        if (t > m_now) {
            m_now = t;
        }
    }
    // Called with the target time by Advance; it must bring NowMs to the target.
    void SetAdvancer(std::function<void(std::int64_t target)> advancer) { m_advancer = std::move(advancer); }

private:
    std::int64_t m_now;
    std::function<void(std::int64_t)> m_advancer;
};
