#include "KivNotice.h"

namespace kiv_comp {

CKivNotice::CKivNotice() : m_aborted(false) {}

// The flag is the only state; a copy takes it over as it is at the moment of copying.
CKivNotice::CKivNotice(const CKivNotice& other) : m_aborted(other.m_aborted.load()) {}

CKivNotice& CKivNotice::operator=(const CKivNotice& other) {
    m_aborted.store(other.m_aborted.load());
    return *this;
}

CKivNotice::~CKivNotice() = default;

bool CKivNotice::IsAborted() {
    return m_aborted.load();
}

// May be called from another thread or from a signal handler while an analysis runs.
void CKivNotice::Abort() {
    m_aborted.store(true);
}

}  // namespace kiv_comp
