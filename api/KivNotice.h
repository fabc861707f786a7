// Public interface of libkiv: the host's progress-and-abort callback object.
#pragma once

#include <atomic>
#include <cstdint>

#include "KivExport.h"

namespace kiv_comp {

// Progress and abort channel between the host and a running analysis; the host derives from it.
class KIV_EXPORT CKivNotice {
public:
    CKivNotice();
    CKivNotice(const CKivNotice& other);
    CKivNotice& operator=(const CKivNotice& other);
    virtual ~CKivNotice();

    virtual void NotifyProgress(int64_t processedBytes, int64_t totalBytes) = 0;
    virtual bool IsAborted();
    virtual void Abort();

private:
    std::atomic<bool> m_aborted;
};

}  // namespace kiv_comp
