#include "es/graphics/ig/CCompositionFile.h"

#include <cstdio>

#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/GspConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

namespace {

// Compositions up to this size are kept in memory as well; larger ones are read back from the file.
constexpr size_t kKeptBytes = size_t{1} << 20;

}  // namespace

CCompositionFile::CCompositionFile(const PRIVATE_LIBRARY::CL_CString& path)
    : m_path(path), m_file(gsp::kFileBufferSize) {}

CCompositionFile::~CCompositionFile() {
    m_file.Close();
    if (m_ended) std::remove(m_path.GetString());
}

// The file is made by the first composition and rewritten from its start for each later one; it is cut
// to the composition's length where it was longer (or its length is not known), and every composition is
// on disk before Build returns. Afterwards the file stands at its start again, ready for the next one.
void CCompositionFile::Build(CGspGsParser& parser, uint32_t i) {
    m_ended = false;
    m_contentsKnown = false;
    m_contents.clear();
    bool ready;
    if (m_file.IsOpen()) {
        ready = m_atStart || m_file.Seek(0, 0) == 1;
    } else {
        ready = m_file.Open(m_path.GetString(), "wb") == 1;
        m_length = 0;
    }
    m_atStart = false;
    if (!ready) return;
    bool written = true, kept = true;
    parser.JoinComposition(i, [&](const uint8_t* bytes, uint32_t n) {
        written = m_file.Write(bytes, n) == n;
        kept = kept && m_contents.size() + n <= kKeptBytes;
        if (written && kept) m_contents.insert(m_contents.end(), bytes, bytes + n);
        return written;
    });
    const int64_t length = m_file.Tell();
    bool onDisk;
    if (written && m_length >= 0 && length >= m_length) {
        onDisk = m_file.Seek(0, 0) == 1;  // the pending bytes go out first
        m_atStart = onDisk;
    } else {
        onDisk = m_file.Truncate() == 1;
        m_atStart = onDisk && m_file.Seek(0, 0) == 1;
    }
    m_length = onDisk ? length : -1;
    m_contentsKnown = onDisk && written && kept;
}

}}}  // namespace ts_comp::es::graphics_stream
