// Base of the audio analysers that write their index through the shared audio item loop.
#pragma once

#include "es/CEs.h"

namespace ts_comp {
namespace es {

// Keeps the analyser's source name for its throws and lets CAudioItemLoop poll the notice.
class CAudioEs : public CEs {
public:
    const char* GetSourceName() const { return m_sourceName; }

protected:
    CAudioEs(const PRIVATE_LIBRARY::CL_CString& esPath, const char* sourceName);

private:
    friend class CAudioItemLoop;
    const char* m_sourceName;
};

}  // namespace es
}  // namespace ts_comp
