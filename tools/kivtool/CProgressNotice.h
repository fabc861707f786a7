// The notice kivtool hands to the library: draws a progress bar on a terminal and carries Ctrl-C as an abort.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "KivNotice.h"

namespace kivtool {

// Progress bar (percent, MB/s, time left) on a file descriptor; draws nothing when disabled.
class CProgressNotice : public kiv_comp::CKivNotice {
public:
    CProgressNotice(int fd, bool enabled);
    ~CProgressNotice() override;

    void NotifyProgress(int64_t processedBytes, int64_t totalBytes) override;
    // Ends the bar's line if anything was drawn.
    void Finish();

    // One line of the bar, without carriage return, for the given progress after `seconds`.
    static std::string FormatLine(int64_t processedBytes, int64_t totalBytes, double seconds);

    // Routes SIGINT to Abort on this notice until the object is destroyed.
    void CatchInterrupt();

private:
    void Draw(int64_t processedBytes, int64_t totalBytes, std::chrono::steady_clock::time_point now);

    int m_fd;
    bool m_enabled;
    bool m_drawn = false;
    bool m_catching = false;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastDraw;
};

}  // namespace kivtool
