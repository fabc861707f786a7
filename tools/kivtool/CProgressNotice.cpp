#include "CProgressNotice.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace kivtool {

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Between two readings of the clock at most this many notifications or bytes pass (a stream of small
// units notifies millions of times a second, and a clock reading costs more than the unit).
constexpr int kNotificationsPerClock = 64;
constexpr int64_t kBytesPerClock = int64_t{4} << 20;

void WriteAll(int fd, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        const ssize_t n = ::write(fd, s.data() + done, s.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string Duration(double seconds) {
    const long total = static_cast<long>(seconds + 0.5);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    return buf;
}

}  // namespace

CProgressNotice::CProgressNotice(int fd, bool enabled)
    : m_fd(fd), m_enabled(enabled), m_start(std::chrono::steady_clock::now()), m_lastDraw(m_start) {}

void CInterruptScope::OnInterrupt(int) {
    s_interrupted.store(true);
}

CInterruptScope::CInterruptScope() {
    s_interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

CInterruptScope::~CInterruptScope() {
    signal(SIGINT, SIG_DFL);
}

CProgressNotice::~CProgressNotice() = default;

void CProgressNotice::CatchInterrupt() {
    m_scope = std::make_unique<CInterruptScope>();
    m_following = true;
}

// Redrawn at most ten times a second, and always when the end is reached.
void CProgressNotice::Track(int64_t processedBytes, int64_t totalBytes) {
    if (m_drawn && processedBytes < totalBytes && ++m_sinceClock < kNotificationsPerClock &&
        processedBytes - m_bytesAtClock < kBytesPerClock) {
        return;
    }
    m_sinceClock = 0;
    m_bytesAtClock = processedBytes;
    const auto now = std::chrono::steady_clock::now();
    if (m_drawn && now - m_lastDraw < kRedrawInterval && processedBytes < totalBytes) return;
    Draw(processedBytes, totalBytes, now);
}

void CProgressNotice::Draw(int64_t processedBytes, int64_t totalBytes, std::chrono::steady_clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    WriteAll(m_fd, "\r" + FormatLine(processedBytes, totalBytes, seconds) + "\x1b[K");
    m_drawn = true;
    m_lastDraw = now;
}

double CProgressNotice::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CProgressNotice::Finish() {
    if (m_drawn) WriteAll(m_fd, "\n");
    m_drawn = false;
}

std::string CProgressNotice::FormatLine(int64_t processedBytes, int64_t totalBytes, double seconds) {
    double fraction = totalBytes > 0 ? static_cast<double>(processedBytes) / static_cast<double>(totalBytes) : 1.0;
    if (fraction < 0) fraction = 0;
    if (fraction > 1) fraction = 1;
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "]";
    const double rate = seconds > 0 ? static_cast<double>(processedBytes) / seconds : 0.0;
    std::string left = "--:--:--";
    if (rate > 0 && processedBytes <= totalBytes) {
        left = Duration(static_cast<double>(totalBytes - processedBytes) / rate);
    }
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s %3d%% %8.1f MB/s %s left", bar.c_str(), static_cast<int>(fraction * 100),
                  rate / 1e6, left.c_str());
    return buf;
}

}  // namespace kivtool
