#include "es/video/mpeg2/CVideoEs.h"

#include <memory>

#include "es/EsMessages.h"
#include "es/VideoReport.h"
#include "es/video/mpeg2/CMpeg2VideoParser.h"
#include "es/video/mpeg2/Mpeg2Constants.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "kiv/KivConstants.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace mpeg2_video;

namespace {

// One access unit waiting for its presentation time.
struct PendingRecord {
    uint32_t itemType;
    uint32_t size;
    int64_t pts;
    int64_t dts;
    uint8_t closedGop;
    uint8_t sequenceEndCode;
    uint32_t pictureStructure;
    bool reference;  // picture type 1, 2 or 4
};

void FlushPendingRecords(std::vector<PendingRecord>& records, kiv::CVideoKiv& writer, int64_t offset) {
    kiv::CVideoKivItem item;
    for (const PendingRecord& r : records) {
        item.SetValue(kiv::kIdEncItemType, r.itemType);
        item.SetValue(kiv::kIdEncItemSize, r.size);
        item.SetValue(kiv::kIdDts, static_cast<uint64_t>(r.dts + offset) / kTicksPer90kHz);
        item.SetValue(kiv::kIdPts, static_cast<uint64_t>(r.pts + offset) / kTicksPer90kHz);
        item.SetValue(kiv::kIdClosedGop, r.closedGop);
        item.SetValue(kiv::kIdPictureStructure, r.pictureStructure);
        item.SetValue(kiv::kIdSequenceEndCode, r.sequenceEndCode);
        writer.WriteItem(item);
    }
    records.clear();
}

uint8_t VideoFormatOf(uint16_t height, uint8_t progressive) {
    switch (height) {
        case 480: return progressive ? 3 : 1;
        case 576: return progressive ? 7 : 2;
        case 720: return progressive ? 5 : 0;
        case 1080:
        case 1088: return progressive ? 6 : 4;
        default: return 0;
    }
}

void AppendLine(CL_CString& out, const char* label, int value) {
    CL_CString line;
    line.Format(kReportLineFormat, label, value);
    out.Append(line);
}

}  // namespace

CVideoEs::CVideoEs(const CL_CString& esPath) : CEs(esPath) {
    CL_CString fileName;
    m_reader.GetFileName(fileName);
    if (m_reader.GetLength() < kAttributeBytes) {
        throw CTsMuxException(error_code::kUnusableEs, CL_CString(messages::kEsFileIsShort), kSourceVideoEs,
                              __LINE__, fileName.GetString(), messages::kEsFileIsShort);
    }
    if (!ParseSequenceAttributes()) {
        throw CTsMuxException(error_code::kUnusableEs, CL_CString(messages::kEsAttributeInvalid),
                              kSourceVideoEs, __LINE__, fileName.GetString(), messages::kEsAttributeInvalid);
    }
}

CVideoEs::~CVideoEs() = default;

bool CVideoEs::ParseSequenceAttributes() {
    uint8_t b[kAttributeBytes] = {};
    m_reader.Read(b, kAttributeBytes);
    m_reader.Rewind();
    if (b[0] != 0 || b[1] != 0 || b[2] != 1 || b[3] != kSequenceHeaderCode) return false;
    m_horizontalSize = static_cast<uint16_t>(b[4] * 16 + (b[5] >> 4));
    m_verticalSize = static_cast<uint16_t>((b[5] & 0x0F) * 256 + b[6]);
    m_aspectRatioInformation = b[7] >> 4;
    m_frameRateCode = b[7] & 0x0F;
    m_bitRate = static_cast<uint32_t>((b[8] * 256 + b[9]) * 4 + (b[10] >> 6));
    m_vbvBufferSize = static_cast<uint16_t>((b[10] & 0x1F) * 32 + (b[11] >> 3));
    uint32_t i = kExtensionSearchFirst;
    for (; i <= kExtensionSearchLast; ++i) {
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == kExtensionStartCode &&
            (b[i + 4] >> 4) == kSequenceExtensionId) {
            break;
        }
    }
    if (i > kExtensionSearchLast) return false;
    m_profile = b[i + 4] & 0x0F;
    m_level = b[i + 5] >> 4;
    m_progressiveSequence = (b[i + 5] & 0x08) ? 1 : 0;
    m_videoFormat = VideoFormatOf(m_verticalSize, m_progressiveSequence);
    m_frameRate = m_frameRateCode;
    m_aspectRatio = m_aspectRatioInformation == 1 ? 3 : m_aspectRatioInformation;
    return true;
}

uint8_t CVideoEs::GetProfileAndLevelIndication() {
    if (m_profile != 4) return 3;
    switch (m_level) {
        case 8: return 0;
        case 4: return 1;
        case 6: return 2;
        default: return 3;
    }
}

int64_t CVideoEs::GetFramePeriod(uint8_t frameRateCode, uint8_t progressiveSequence) {
    const int64_t period = frameRateCode < 9 ? kPeriodByCode[frameRateCode] : kDefaultPeriod;
    return progressiveSequence ? period : period / 2;
}

int64_t CVideoEs::GetPictureDuration(const CAccessUintInformationForMpeg2& p,
                                     const CAccessUintInformationForMpeg2* r, uint8_t progressiveSequence,
                                     int64_t d, bool secondField) {
    const bool isB = p.GetPictureType() == 3;
    const bool rRepeats = r != nullptr && r->GetRepeatFirstField() == 1;
    if (progressiveSequence) {
        if (isB) {
            if (p.GetRepeatFirstField() == 0) return d;
            return p.GetTopFieldFirst() ? 3 * d : 2 * d;
        }
        if (!rRepeats) return d;
        return r->GetTopFieldFirst() ? 3 * d : 2 * d;
    }
    if (p.Find<CPictureCodingExtensionLayer>() == nullptr) return d;
    if (p.IsFieldPicture()) {
        if (isB || !secondField) return d;
        return (r != nullptr && r->IsFramePicture() && rRepeats) ? 2 * d : d;
    }
    if (isB) return p.GetRepeatFirstField() ? 3 * d : 2 * d;
    return rRepeats ? 3 * d : 2 * d;
}

// Decoding times run from 0 in coded order; a reference picture is presented when the next reference
// picture (frame or first field) is decoded, and the first one of the stream at the first start PTS.
bool CVideoEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (startPtsList.empty()) {
        throw CTsMuxException(error_code::kStreamContent, CL_CString(messages::kStartPtsNotSet),
                              kSourceVideoEs, __LINE__, "", "");
    }
    kiv::CVideoKiv writer;
    if (!writer.Create(kivPath != nullptr ? kivPath : "")) return false;
    CMpeg2VideoParser parser;
    if (!parser.Open(m_esFilePath.GetString())) return false;

    std::vector<PendingRecord> pending;
    int64_t clock = 0;
    int64_t period = 0;
    uint8_t progressive = 0;
    bool parity = false;
    std::unique_ptr<CAccessUintInformationForMpeg2> reference;
    int64_t lastReferenceDuration = 0;
    int64_t offset = 0;
    bool offsetSet = false;
    size_t k = 0;
    bool previousEndedSequence = false;
    int64_t processed = 0;

    while (std::unique_ptr<CAccessUintInformationForMpeg2> unit = parser.GetNextAccessUnit()) {
        const bool field = unit->IsFieldPicture();
        if (field) parity = !parity;
        // Only a frame picture (structure 3) has code 0 and flushes alone; a picture without a coding
        // extension (structure 0) takes its code from the parity flag like a field.
        const bool frame = unit->IsFramePicture();
        const bool isReference = unit->IsReferencePicture();
        if (unit->HasSequenceHeader() && unit->HasSequenceExtension()) {
            const CSequenceExtensionLayer* ext = unit->Find<CSequenceExtensionLayer>();
            period = GetFramePeriod(unit->Find<CSequenceHeaderLayer>()->frame_rate_code, ext->progressive_sequence);
            progressive = ext->progressive_sequence;
        }
        const CGopOfPictureHeaderLayer* gop = unit->Find<CGopOfPictureHeaderLayer>();
        PendingRecord record{unit->GetPictureType(),
                             unit->GetSize(),
                             clock,
                             clock,
                             static_cast<uint8_t>(gop != nullptr ? gop->closed_gop : 0),
                             static_cast<uint8_t>(unit->HasSequenceEndCode() ? 1 : 0),
                             frame ? 0u : (parity ? 1u : 2u),
                             isReference};
        const int64_t duration =
            GetPictureDuration(*unit, reference.get(), progressive, period, field && !parity);
        clock += duration;
        if (isReference) {
            lastReferenceDuration = duration;
            reference = std::make_unique<CAccessUintInformationForMpeg2>(*unit);
        }
        if (isReference && !pending.empty() && (frame || parity)) {
            pending[0].pts = record.dts;
            // The second field of the previous reference pair follows its first field by one period.
            if (pending.size() >= 2 && pending[1].reference) pending[1].pts = pending[0].pts + period;
            if (!offsetSet) {
                offset = static_cast<int64_t>(startPtsList[k]) * kTicksPer90kHz - pending[0].pts;
                ++k;
                offsetSet = true;
            }
            FlushPendingRecords(pending, writer, offset);
        }
        if (pending.size() == kMaxHeldPictures) {
            // The held pictures never got their presentation stamps; the items written so far stay. Units lie
            // back to back from the start of the file, so this one begins after the bytes processed so far.
            m_errorMessage.Format(kMsgTooManyHeldPictures, processed);
            return false;
        }
        pending.push_back(record);
        if (previousEndedSequence && k < startPtsList.size()) offsetSet = false;
        previousEndedSequence = unit->HasSequenceEndCode();
        processed += unit->GetSize();
        NotifyUnit(processed, kSourceVideoEs, __LINE__);
    }
    reference.reset();

    int64_t last = 0;
    if (!pending.empty()) {
        pending[0].pts = clock;
        last = clock;
        if (pending.size() >= 2 && pending[1].reference) {
            pending[1].pts = clock + period;
            last = pending[1].pts;
        }
        if (!offsetSet) {
            const uint64_t anchor = k < startPtsList.size() ? startPtsList[k] : startPtsList.back();
            offset = static_cast<int64_t>(anchor) * kTicksPer90kHz - pending[0].pts;
        }
        FlushPendingRecords(pending, writer, offset);
    }

    kiv::CVideoKivItem closing;
    closing.SetValue(kiv::kIdEncItemType, kiv::kEndItemType);
    closing.SetValue(kiv::kIdPts, static_cast<uint64_t>((last + lastReferenceDuration + offset) / kTicksPer90kHz));
    closing.SetValue(kiv::kIdPictureStructure, 0);
    writer.WriteItem(closing);
    writer.Close();
    return true;
}

void CVideoEs::GetReportText(CL_CString& out) {
    AppendInvalidCombinationBanner(out, m_videoFormat, m_aspectRatio);
    AppendLine(out, "[horizontal_size]", m_horizontalSize);
    AppendLine(out, "[vertical_size]", m_verticalSize);
    AppendLine(out, "[aspect_ratio]", m_aspectRatioInformation);
    AppendLine(out, "[frame_rate]", m_frameRateCode);
    AppendLine(out, "[bit_rate]", static_cast<int>(m_bitRate));
    AppendLine(out, "[vbv_buffer_size]", m_vbvBufferSize);
    AppendLine(out, "[profile]", m_profile);
    AppendLine(out, "[level]", m_level);
    AppendLine(out, "[progressive_sequence]", m_progressiveSequence);
}

void CVideoEs::GetXmlText(CL_CString& out) {
    CL_CString root;
    root.Format(kXmlRootFormat, kXmlNamespace);
    out.Format(kXmlFormat, kXmlDeclaration, root.GetString(), "<video_format>", m_videoFormat, "</video_format>",
               "<frame_rate>", m_frameRate, "</frame_rate>", "<aspect_ratio>", m_aspectRatio, "</aspect_ratio>",
               "<ProfileAndLevelIndication>", GetProfileAndLevelIndication(), "</ProfileAndLevelIndication>");
}

}  // namespace es
}  // namespace ts_comp
