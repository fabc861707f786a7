// Test support: a notice that records every progress call and can abort itself.
#pragma once

#include <cstdint>
#include <vector>

#include "KivNotice.h"

namespace kiv_test {

// Keeps the processed and total byte counts of each NotifyProgress call and counts the IsAborted
// polls. With abortAfter >= 0 it aborts once that many progress calls were made (0: at the first poll).
class RecordingNotice : public kiv_comp::CKivNotice {
public:
    explicit RecordingNotice(int abortAfter = -1) : m_abortAfter(abortAfter) {}
    void NotifyProgress(int64_t processed, int64_t total) override {
        progress.push_back(processed), totals.push_back(total);
        if (m_abortAfter >= 0 && static_cast<int>(progress.size()) >= m_abortAfter) Abort();
    }
    bool IsAborted() override {
        ++polls;
        if (m_abortAfter == 0) Abort();
        return CKivNotice::IsAborted();
    }
    std::vector<int64_t> progress, totals;
    int polls = 0;

private:
    int m_abortAfter;
};

}  // namespace kiv_test
