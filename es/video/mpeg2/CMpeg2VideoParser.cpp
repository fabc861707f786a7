#include "es/video/mpeg2/CMpeg2VideoParser.h"

#include <cstdio>

#include "es/video/mpeg2/Mpeg2Constants.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

namespace {
enum ScanState { kNothing = 0, kPictureSeen = 1, kSequenceSeen = 2, kGopSeen = 3 };

template <typename L>
void ParseAndAdd(CBinaryBuffer& buffer, CAccessUintInformationForMpeg2& unit) {
    auto layer = std::make_unique<L>();
    layer->Parse(buffer);
    unit.AddLayer(std::move(layer));
}
}  // namespace

CMpeg2VideoParser::~CMpeg2VideoParser() { m_buffer.Close(); }

bool CMpeg2VideoParser::Open(const char* path) { return m_buffer.Open(path); }

// Two or more 0x00 bytes followed by 0x01; the bulk scan stops on the first non-zero byte after a
// zero run of two or more, which is exactly where the byte-by-byte automaton decides.
bool CMpeg2VideoParser::FindStartCodePrefix() {
    uint32_t zeros = 0;
    uint8_t value = 0;
    while (m_buffer.ScanStartCodePrefix(zeros, value)) {
        if (value == 0x01) return true;
        zeros = 0;
    }
    return false;
}

std::unique_ptr<CAccessUintInformationForMpeg2> CMpeg2VideoParser::GetNextAccessUnit() {
    const int64_t start = m_buffer.Tell();
    auto unit = std::make_unique<CAccessUintInformationForMpeg2>();
    int state = kNothing;
    try {
        bool more = true;
        while (more && FindStartCodePrefix()) {
            const uint8_t code = m_buffer.ReadByte();
            switch (code) {
                case kPictureStartCode:
                    if (state == kPictureSeen) {
                        m_buffer.Seek(m_buffer.Tell() - kStartCodeBytes, SEEK_SET);
                        more = false;
                        break;
                    }
                    ParseAndAdd<CPictureHeaderLayer>(m_buffer, *unit);
                    state = kPictureSeen;
                    break;
                case kSequenceHeaderCode:
                    if (state != kNothing) {
                        m_buffer.Seek(m_buffer.Tell() - kStartCodeBytes, SEEK_SET);
                        more = false;
                        break;
                    }
                    ParseAndAdd<CSequenceHeaderLayer>(m_buffer, *unit);
                    state = kSequenceSeen;
                    break;
                case kGroupStartCode:
                    if (state == kPictureSeen) {
                        m_buffer.Seek(m_buffer.Tell() - kStartCodeBytes, SEEK_SET);
                        more = false;
                        break;
                    }
                    ParseAndAdd<CGopOfPictureHeaderLayer>(m_buffer, *unit);
                    state = kGopSeen;
                    break;
                case kExtensionStartCode: {
                    uint8_t id = 0;
                    if (m_buffer.PeekBytes(&id, 1) != 1) {
                        more = false;
                        break;
                    }
                    switch (id >> 4) {
                        case kSequenceExtensionId: ParseAndAdd<CSequenceExtensionLayer>(m_buffer, *unit); break;
                        case kSequenceDisplayExtensionId:
                            ParseAndAdd<CSequenceDisplayExtensionLayer>(m_buffer, *unit);
                            break;
                        case kPictureCodingExtensionId:
                            ParseAndAdd<CPictureCodingExtensionLayer>(m_buffer, *unit);
                            break;
                        default: break;
                    }
                    break;
                }
                case kSequenceEndCode:
                    unit->AddLayer(std::make_unique<CSequenceEndCodeLayer>());
                    more = false;
                    break;
                default: break;
            }
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        // The end of the file inside a header ends the unit here.
    }
    const uint32_t size = static_cast<uint32_t>(m_buffer.Tell() - start);
    if (size == 0 || !unit->HasPictureHeader()) return nullptr;
    unit->SetSize(size);
    return unit;
}

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
