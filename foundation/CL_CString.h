// NUL-terminated byte string owned by the utility library.
#pragma once

#include <cstdint>

#include "foundation/CL_CObj.h"

namespace PRIVATE_LIBRARY {

// Text with optional storage: a string without storage reads as "" but IsNull() tells it apart.
class CL_CString : public CL_CObj {
public:
    explicit CL_CString(int capacity = 0);
    CL_CString(const char* text);  // NOLINT: texts convert implicitly, as Set(text, -1)
    CL_CString(const CL_CString& other);
    CL_CString(CL_CString&& other) noexcept;
    ~CL_CString() override;

    CL_CString& operator=(const CL_CString& other);
    CL_CString& operator=(CL_CString&& other) noexcept;
    CL_CString& operator=(const char* text);

    int Set(const char* text, int maxLength = -1);
    void Append(const CL_CString& text);
    void Append(const char* text);
    CL_CString Left(int n) const;
    CL_CString Right(int n) const;
    // direction 0 searches forward from start, 1 backward; -1 when not found.
    int Find(const char* sub, int start = 0, int direction = 0) const;

    int GetLength() const;
    const char* GetString() const { return m_capacity == 0 ? "" : m_buffer; }
    char* GetBuffer() { return m_buffer; }
    uint32_t GetCapacity() const { return m_capacity; }
    bool IsNull() const { return m_buffer == nullptr; }
    void Clear();
    void Reserve(int n);

    // printf-like: flags - + space 0 #, width, .precision, "w" for a 64-bit integer,
    // conversions % c d u x X p P b B e f s.
    void Format(const char* format, ...);

private:
    void Adopt(char* buffer, uint32_t capacity);

    char* m_buffer = nullptr;
    uint32_t m_capacity = 0;
};

}  // namespace PRIVATE_LIBRARY
