#include "es/graphics/segments/CGspIC.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"
#include "es/graphics/segments/GspConstants.h"

using PRIVATE_LIBRARY::CL_CFile;

namespace {

// Reads the whole composition from the input.
bool ReadComposition(CGspReader& in, uint32_t& length, uint8_t& model, uint8_t* timeOuts, uint32_t& userTimeOut,
                     uint8_t& pages, std::vector<std::unique_ptr<CGspPage>>& out) {
    uint8_t b[4];
    if (in.Read(b, 4) != 4) return false;
    length = gsp_io::Be24(b);
    model = b[3];
    uint64_t offset = 4;
    if ((model & 0x80u) == 0) {
        if (in.Read(timeOuts, 10) != 10) return false;
        offset += 10;
    }
    if (in.Read(b, 4) != 4) return false;
    offset += 4;
    userTimeOut = gsp_io::Be24(b);
    pages = b[3];
    // The page list follows the file length, not number_of_pages; once the header is read the composition
    // stands, whatever the pages hold.
    gsp_io::ReadBounded(in, offset, in.GetLength(), out);
    return true;
}

}  // namespace

bool CGspIC::Parse(const char* path) {
    if (path == nullptr) return false;
    CL_CFile file(gsp::kFileBufferSize);
    return Parse(path, file);
}

bool CGspIC::Parse(const char* path, CL_CFile& file) {
    if (path == nullptr || file.Open(path, "rb") != 1) return false;
    CGspReader in(&file);
    const bool ok = Parse(in);
    file.Close();
    return ok;
}

bool CGspIC::Parse(const uint8_t* bytes, uint64_t size) {
    CGspReader in(bytes, size);
    return Parse(in);
}

bool CGspIC::Parse(CGspReader& in) {
    uint8_t model = 0;
    const bool ok = ReadComposition(in, m_interactiveCompositionLength, model, m_timeOuts, m_userTimeOutDuration,
                                    m_numberOfPages, m_pages);
    m_streamModel = static_cast<uint8_t>(model >> 7);
    m_userInterfaceModel = static_cast<uint8_t>((model >> 6) & 1u);
    return ok;
}

uint64_t CGspIC::GetCompositionTimeOutPts() const { return gsp_io::Time33(m_timeOuts); }
uint64_t CGspIC::GetSelectionTimeOutPts() const { return gsp_io::Time33(m_timeOuts + 5); }
const CGspPage* CGspIC::GetPage(uint32_t i) const { return gsp_io::At(m_pages, i); }
