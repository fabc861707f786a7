#include "es/audio/lpcm/CHdmvLpcmEs.h"

#include <algorithm>
#include <iterator>

#include "es/audio/CAudioItemLoop.h"
#include "es/audio/lpcm/LpcmConstants.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace hdmv_lpcm;

namespace {

constexpr int kSeekFromStart = 0;

uint16_t PayloadSizeOf(const uint8_t* header) {
    return static_cast<uint16_t>((header[0] << 8) | header[1]);
}

template <size_t N>
bool IsAccepted(const uint8_t (&accepted)[N], uint8_t value) {
    return std::find(std::begin(accepted), std::end(accepted), value) != std::end(accepted);
}

}  // namespace

// The header of the first frame gives the attributes; nothing in it is validated here.
CHdmvLpcmEs::CHdmvLpcmEs(const CL_CString& esPath)
    : CAudioEs(esPath, kSourceHdmvLpcmEs),
      m_audioDataPayloadSize(0),
      m_channelAssignment(0),
      m_samplingFrequency(0),
      m_bitsPerSample(0) {
    if (m_reader.GetLength() < static_cast<int64_t>(kHeadSize)) {
        CL_CString fileName;
        m_reader.GetFileName(fileName);
        throw CTsMuxException(error_code::kUnusableEs, CL_CString(messages::kEsFileIsShort),
                              kSourceHdmvLpcmEs, __LINE__, fileName.GetString(), messages::kEsFileIsShort);
    }
    uint8_t head[kHeadSize] = {};
    m_reader.Read(head, kHeadSize);
    m_reader.Rewind();
    m_audioDataPayloadSize = PayloadSizeOf(head);
    m_channelAssignment = static_cast<uint8_t>(head[2] >> 4);
    m_samplingFrequency = static_cast<uint8_t>(head[2] & 0x0F);
    m_bitsPerSample = static_cast<uint8_t>(head[3] >> 6);
}

CHdmvLpcmEs::~CHdmvLpcmEs() = default;

// The payload is passed over without being copied; a frame whose header or payload is cut off
// by the end of the file ends the stream.
bool CHdmvLpcmEs::NextFrame(uint32_t& frameSize) {
    uint8_t header[kFrameHeaderSize];
    if (m_reader.Read(header, kFrameHeaderSize) < kFrameHeaderSize) return false;
    const uint32_t payloadSize = PayloadSizeOf(header);
    if (m_reader.Skip(payloadSize) < payloadSize) return false;
    frameSize = payloadSize + kFrameHeaderSize;
    return true;
}

// One item per complete frame, 450 ticks apart from the single start PTS; the frame headers after
// the first are trusted for their payload size only. Failures before and during writing leave no
// message, so the driver reports an empty text.
bool CHdmvLpcmEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.size() != kStartPtsCount) return false;
    CAudioItemLoop items(*this, startPtsList[0]);
    if (!items.Create(kivPath)) return false;

    const int64_t startPosition = m_reader.Tell();
    uint32_t frameSize = 0;
    while (NextFrame(frameSize)) {
        if (!items.WriteUnit(kFrameItemType, frameSize)) return false;
        items.AdvancePts(kFrameDuration);
    }
    if (!items.WriteEnd()) return false;

    m_reader.Seek(startPosition, kSeekFromStart);
    return true;
}

// Appends one "%s : %d" line per header field; codes outside the accepted sets are marked.
void CHdmvLpcmEs::GetReportText(CL_CString& out) {
    const struct {
        const char* name;
        int value;
        bool accepted;
    } lines[] = {
        {kReportPayloadSize, m_audioDataPayloadSize, true},
        {kReportChannelAssignment, m_channelAssignment,
         IsAccepted(kAcceptedChannelAssignments, m_channelAssignment)},
        {kReportSamplingFrequency, m_samplingFrequency,
         IsAccepted(kAcceptedSamplingFrequencies, m_samplingFrequency)},
        {kReportBitsPerSample, m_bitsPerSample, IsAccepted(kAcceptedBitsPerSample, m_bitsPerSample)},
    };
    CL_CString line;
    for (const auto& l : lines) {
        line.Format(kReportLineFormat, l.name, l.value);
        out.Append(line);
        if (!l.accepted) out.Append(messages::kReportErrorMark);
        out.Append(kReportLineEnd);
    }
}

void CHdmvLpcmEs::GetXmlText(CL_CString& out) {
    CL_CString root;
    root.Format(kXmlRootStartFormat, kXmlNamespace);
    out.Format(kXmlFormat, kXmlDeclaration, root.GetString(), kXmlChannelAssignmentOpen,
               static_cast<int>(m_channelAssignment), kXmlChannelAssignmentClose,
               kXmlSamplingFrequencyOpen, static_cast<int>(m_samplingFrequency),
               kXmlSamplingFrequencyClose, kXmlBitPerSampleOpen, static_cast<int>(m_bitsPerSample),
               kXmlBitPerSampleClose);
}

}  // namespace es
}  // namespace ts_comp
