// The notice kivtool hands to the library: draws a progress bar on a terminal and carries Ctrl-C as an abort.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "KivNotice.h"

namespace kivtool {

// While one lives, SIGINT is caught: it aborts every notice that follows interrupts (possibly many
// running on other threads). Restores the default action when destroyed.
class CInterruptScope {
public:
    CInterruptScope();
    ~CInterruptScope();
    CInterruptScope(const CInterruptScope&) = delete;
    CInterruptScope& operator=(const CInterruptScope&) = delete;

    // True once SIGINT arrived while a scope lived.
    static bool Interrupted() { return s_interrupted.load(); }

private:
    static void OnInterrupt(int);
    // Set by SIGINT (a lock-free atomic is safe in a handler); the notices that follow interrupts read it.
    static inline std::atomic<bool> s_interrupted{false};
};

// Progress bar (percent, MB/s, time left) on a file descriptor; draws nothing when disabled.
class CProgressNotice : public kiv_comp::CKivNotice {
public:
    CProgressNotice(int fd, bool enabled);
    ~CProgressNotice() override;

    // Called after every access unit: keeps the count and leaves the bar to Track.
    void NotifyProgress(int64_t processedBytes, int64_t totalBytes) override {
        m_processed = processedBytes;
        if (m_enabled) Track(processedBytes, totalBytes);
    }
    // Aborts itself when it follows interrupts and SIGINT has arrived; the abort reaches its own flag, so it
    // stays aborted whatever happens to the interrupt.
    bool IsAborted() override {
        if (m_following && CInterruptScope::Interrupted()) Abort();
        return CKivNotice::IsAborted();
    }
    // Ends the bar's line if anything was drawn.
    void Finish();
    // The bytes processed at the last notification, and the time since construction.
    int64_t ProcessedBytes() const { return m_processed; }
    double Seconds() const;

    // One line of the bar, without carriage return, for the given progress after `seconds`.
    static std::string FormatLine(int64_t processedBytes, int64_t totalBytes, double seconds);

    // Catches SIGINT until the object is destroyed and follows it.
    void CatchInterrupt();
    // Follows the SIGINT of a scope someone else holds.
    void FollowInterrupts() { m_following = true; }

private:
    // Out of line, so that the call every unit makes stays a few instructions.
    [[gnu::noinline]] void Track(int64_t processedBytes, int64_t totalBytes);
    void Draw(int64_t processedBytes, int64_t totalBytes, std::chrono::steady_clock::time_point now);

    int m_fd;
    bool m_enabled;
    bool m_drawn = false;
    bool m_following = false;
    std::unique_ptr<CInterruptScope> m_scope;
    int64_t m_processed = 0;
    int m_sinceClock = 0;         // notifications since the clock was last read
    int64_t m_bytesAtClock = 0;   // processed bytes when it was last read
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastDraw;
};

}  // namespace kivtool
