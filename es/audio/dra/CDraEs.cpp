#include "es/audio/dra/CDraEs.h"

#include "es/audio/CAudioItemLoop.h"
#include "es/audio/dra/CDraAudioParser.h"
#include "es/audio/dra/DraConstants.h"
#include "foundation/Messages.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace dra;
using namespace dra_audio;

CDraEs::CDraEs(const CL_CString& esPath) : CAudioEs(esPath, kSourceDraEs) {
    uint8_t head[kMinimumFileSize];
    ReadHead(head, kMinimumFileSize);
    if (!ParseAttributes(head)) ThrowUnusable(messages::kEsAttributeInvalid, __LINE__);
}

CDraEs::~CDraEs() = default;

// The first header straight from the head bytes; the channel fields are kept as coded.
bool CDraEs::ParseAttributes(const uint8_t* head) {
    if (head[0] != kSyncByte0 || head[1] != kSyncByte1) return false;
    if ((head[2] & 0x80) == 0) {
        m_nSampleRateIndex = static_cast<uint8_t>((head[3] & 7) * 2 + (head[4] >> 7));
        m_nNumNormalCh = static_cast<uint8_t>((head[4] >> 4) & 7);
        m_nNumLfeCh = static_cast<uint8_t>((head[4] >> 3) & 1);
    } else {
        m_nSampleRateIndex = static_cast<uint8_t>(head[4] >> 4);
        m_nNumNormalCh = static_cast<uint8_t>((head[4] & 15) * 4 + (head[5] >> 6));
        m_nNumLfeCh = static_cast<uint8_t>((head[5] >> 4) & 3);
    }
    return true;
}

// The remainder is dropped frame by frame, so a sum over frames drifts from the exact time.
uint32_t CDraEs::GetFrameDuration(uint8_t blocks, uint8_t index) {
    if (index >= kSampleRateCount) ThrowUnusable(messages::kEsAttributeInvalid, __LINE__);
    return uint32_t{blocks} * kSamplesPerBlock * kClockHz / kSampleRates[index];
}

// Every frame is presented at the start PTS plus the durations of the frames before it; a frame whose rate
// index has no rate is written before the scan fails on it.
bool CDraEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.size() != 1) return false;
    CAudioItemLoop loop(*this, startPtsList[0]);
    if (!loop.Create(kivPath)) return false;
    CL_CString path;
    GetEsFilePath(path);
    CDraAudioParser parser;
    if (!parser.Open(path.GetString())) return false;
    const auto write = [&](const CDraAudioParser::Frame& frame) __attribute__((always_inline)) {
        if (!loop.WriteItem(0, static_cast<uint32_t>(frame.frameSize))) return false;
        loop.AdvancePts(GetFrameDuration(frame.nNumBlocksPerFrm, frame.nSampleRateIndex));
        loop.CountUnit(static_cast<uint64_t>(frame.frameSize));
        return true;
    };
    // Frames in the buffered bytes in one run, then one through the plain parse.
    for (;;) {
        if (!parser.ParseBuffered(write)) return false;
        const CDraAudioParser::Frame* frame = parser.ParseNextFrame();
        if (frame == nullptr) break;
        if (!write(*frame)) return false;
    }
    return loop.WriteEnd();
}

void CDraEs::GetReportText(CL_CString& out) {
    CL_CString lines;
    lines.Format(kReportFormat, m_nSampleRateIndex, m_nNumNormalCh, m_nNumLfeCh);
    out.Append(lines);
}

void CDraEs::GetXmlText(CL_CString& out) {
    out.Format(kXmlFormat, kXmlDeclaration, kXmlNamespace, m_nSampleRateIndex, m_nNumNormalCh, m_nNumLfeCh);
}

}  // namespace es
}  // namespace ts_comp
