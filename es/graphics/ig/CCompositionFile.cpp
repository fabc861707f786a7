#include "es/graphics/ig/CCompositionFile.h"

#include <cstdio>

#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/GspConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

CCompositionFile::CCompositionFile(const PRIVATE_LIBRARY::CL_CString& path)
    : m_path(path), m_file(gsp::kFileBufferSize) {}

CCompositionFile::~CCompositionFile() {
    m_file.Close();
    if (m_ended) std::remove(m_path.GetString());
}

// The file is made by the first composition and cut to the length of each later one.
void CCompositionFile::Build(CGspGsParser& parser, uint32_t i) {
    m_ended = false;
    if (m_file.IsOpen() ? m_file.Seek(0, 0) == 1 : m_file.Open(m_path.GetString(), "wb") == 1) {
        parser.BuildCompositionFile(i, m_file);
        m_file.Truncate();
    }
}

}}}  // namespace ts_comp::es::graphics_stream
