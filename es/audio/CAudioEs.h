// Base of the audio analysers that write their index through the shared audio item loop.
#pragma once

#include <cstdint>

#include "es/CEs.h"

namespace ts_comp {
namespace es {

// Keeps the analyser's source name for its throws and lets CAudioItemLoop poll the notice.
class CAudioEs : public CEs {
public:
    const char* GetSourceName() const { return m_sourceName; }

protected:
    CAudioEs(const PRIVATE_LIBRARY::CL_CString& esPath, const char* sourceName);

    // Reads the first size bytes into head and rewinds the reader; a shorter file throws "The es file is
    // short." (code 15).
    void ReadHead(uint8_t* head, uint32_t size);
    // Refuses the stream at construction: code 15, the ES file name and the message as details.
    [[noreturn]] void ThrowUnusable(const char* message, int line);
    // Throws one of the analyser's own exceptions with empty details; a %s in message is filled with arg.
    [[noreturn]] void Throw(int code, const char* message, const char* arg, int line) const;

private:
    friend class CAudioItemLoop;
    const char* m_sourceName;
};

}  // namespace es
}  // namespace ts_comp
