// File path text in normalised form with its components.
#pragma once

#include "foundation/CL_CStrList.h"
#include "foundation/CL_CString.h"

namespace PRIVATE_LIBRARY {

// Normalised path: drive or leading separators kept, empty components dropped, "/" between components.
class CL_CFilePath : public CL_CString {
public:
    static constexpr char kSeparator = '/';

    CL_CFilePath() = default;
    explicit CL_CFilePath(const char* path);
    CL_CFilePath(const CL_CFilePath& other);
    CL_CFilePath& operator=(const CL_CFilePath& other);

    // Replaces the text with the normalised form of path (null gives an empty text).
    void SetPath(const char* path);
    // The components: the drive ("C:") first when there is one; leading separators are not components.
    const CL_CStrList& GetComponents() const { return m_components; }

    // Normalised form of path written into out.
    static void Normalize(const char* path, CL_CString& out);

private:
    CL_CStrList m_components;
};

}  // namespace PRIVATE_LIBRARY
