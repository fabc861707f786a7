// Exception that ends an analysis.
#pragma once

#include "foundation/CException.h"

namespace ts_comp {

// CException with an error code, the concerned file's name and a second text (each at most 258 characters).
class CTsMuxException : public FMT_LIBRARY::CException {
public:
    static constexpr int kTextArraySize = 260;
    static constexpr int kMaxTextLength = 258;

    CTsMuxException(int code, PRIVATE_LIBRARY::CL_CString message, const char* sourceFile, int line,
                    const char* fileName, const char* detail);
    CTsMuxException(const CTsMuxException& other) = default;
    CTsMuxException& operator=(const CTsMuxException& other) = default;
    ~CTsMuxException() override;

    virtual const char* GetDetail() const;
    virtual const char* GetFileName() const;
    virtual int GetErrorCode() const;

private:
    int m_code;
    char m_fileName[kTextArraySize];
    char m_detail[kTextArraySize];
};

}  // namespace ts_comp
