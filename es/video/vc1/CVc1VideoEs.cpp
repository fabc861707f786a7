#include "es/video/vc1/CVc1VideoEs.h"

#include <cmath>
#include <memory>

#include "es/EsMessages.h"
#include "es/VideoReport.h"
#include "es/video/vc1/CVc1VideoParser.h"
#include "es/video/vc1/Vc1Constants.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "kiv/KivConstants.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace vc1_video;

namespace {

// A picture waiting for the next anchor, which completes the presentation stamp of the previous one.
struct PendingPicture {
    uint32_t type;
    uint32_t size;
    uint64_t pts;
    uint64_t dts;
    uint8_t entryPoint;
    uint8_t endOfSequence;
    uint64_t duration;  // 27 MHz ticks
};

bool IsAnchor(uint32_t type) { return type == kPictureI || type == kPictureP || type == kPictureIWithoutHeader; }

// Writes the pending pictures with the offset and raises endPts to the latest presentation end. One item
// serves every picture: each write sets all the fields a picture gives, the others stay 0.
void WritePending(std::vector<PendingPicture>& pending, kiv::CVideoKiv& writer, kiv::CVideoKivItem& item,
                  uint64_t offset, uint64_t& endPts) {
    for (const PendingPicture& p : pending) {
        const uint64_t end = p.pts + p.duration / kTicksPer90kHz + offset;
        if (end > endPts) endPts = end;
        item.SetValue(kiv::kIdEncItemType, p.type);
        item.SetValue(kiv::kIdEncItemSize, p.size);
        item.SetValue(kiv::kIdDts, p.dts + offset);
        item.SetValue(kiv::kIdPts, p.pts + offset);
        item.SetValue(kiv::kIdClosedGop, p.entryPoint);
        item.SetValue(kiv::kIdSequenceEndCode, p.endOfSequence);
        writer.WriteItem(item);
    }
    pending.clear();
}

// Fields one picture displays: repeated frames count two fields each, an interlaced frame 2 or 3 with RFF.
uint32_t CountDisplayFields(const CAccessUintInformationForVc1& unit, uint8_t interlace, uint8_t psf) {
    const std::unique_ptr<CPictureLayerForAdvancedProfile> picture = unit.GetPictureLayer();
    const uint8_t rptfrm = picture != nullptr ? picture->RPTFRM : 0;
    const uint8_t rff = picture != nullptr ? picture->RFF : 0;
    if (interlace == 0 || psf == 1) return (rptfrm + 1u) * 2u;
    return rff == 1 ? 3u : 2u;
}

void AppendLine(CL_CString& out, const char* format, const char* label, int value) {
    CL_CString line;
    line.Format(format, label, value);
    out.Append(line);
}

}  // namespace

CVc1VideoEs::CVc1VideoEs(const CL_CString& esPath) : CEs(esPath) {
    if (!ReadSequenceAttributes()) {
        throw CTsMuxException(error_code::kUnusableEs, CL_CString(messages::kEsAttributeInvalid), kSourceVc1VideoEs,
                              kLineAttributeInvalid, m_esFilePath.GetString(), messages::kEsAttributeInvalid);
    }
}

CVc1VideoEs::~CVc1VideoEs() = default;

bool CVc1VideoEs::ReadSequenceAttributes() {
    CVc1VideoParser parser;
    if (!parser.Open(m_esFilePath.GetString())) return false;
    const std::unique_ptr<CAccessUintInformationForVc1> unit = parser.GetNextAccessUnit();
    const std::unique_ptr<CSequenceHeader> sh = unit != nullptr ? unit->GetSequenceHeader() : nullptr;
    if (sh == nullptr) return false;
    m_displayExt = sh->DISPLAY_EXT;
    m_dispHorizSize = sh->DISP_HORIZ_SIZE;
    m_dispVertSize = sh->DISP_VERT_SIZE;
    m_aspectRatioFlag = sh->ASPECT_RATIO_FLAG;
    m_aspectRatio = sh->ASPECT_RATIO;
    m_interlace = sh->INTERLACE;
    m_frameRateFlag = sh->FRAMERATE_FLAG;
    m_level = sh->LEVEL;
    const uint32_t numerator = sh->FRAMERATENR < 8 ? kFrameRateNumerators[sh->FRAMERATENR] : 0;
    const uint32_t divisor = sh->FRAMERATEDR < 3 ? kFrameRateDivisors[sh->FRAMERATEDR] : 0;
    m_frameRate = divisor != 0 ? static_cast<double>(numerator) / divisor : 0.0;
    m_framePeriod = numerator != 0 ? static_cast<int32_t>(divisor * kTicksPerSecond / numerator) : 0;
    return true;
}

bool CVc1VideoEs::CheckStream(const char* esPath) {
    CVc1VideoParser parser;
    parser.Open(esPath);
    const std::unique_ptr<CAccessUintInformationForVc1> unit = parser.GetNextAccessUnit();
    const std::unique_ptr<CSequenceHeader> sh = unit != nullptr ? unit->GetSequenceHeader() : nullptr;
    if (sh == nullptr) {
        m_errorMessage = kMsgNoSequenceHeader;
        return false;
    }
    bool admitted = true;
    if (sh->PROFILE != kProfileAdvanced) {
        m_errorMessage = kMsgNotAdvancedProfile;
        admitted = false;
    }
    if (sh->FRAMERATE_FLAG != 1 || sh->FRAMERATEIND != 0) {
        m_errorMessage = kMsgFrameRateUnknown;
        admitted = false;
    }
    return admitted;
}

// The time line T runs in coded order; an anchor is presented when the next anchor is decoded, so each
// anchor completes the presentation stamp of the one before it and releases the pictures held since.
bool CVc1VideoEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (!CheckStream(m_esFilePath.GetString()) || kivPath == nullptr || startPtsList.empty()) return false;
    kiv::CVideoKiv writer;
    if (!writer.Create(kivPath)) return false;
    CVc1VideoParser parser;
    if (!parser.Open(m_esFilePath.GetString())) return false;

    const uint64_t period = m_framePeriod > 0 ? static_cast<uint64_t>(m_framePeriod) : 0;
    uint64_t clock = 0;
    int64_t processed = 0;
    uint32_t headerBytes = 0;
    uint32_t segmentFields = 0;
    uint64_t endPts = 0;
    uint8_t entryPoint = 0;
    uint32_t anchorFields = 2;
    bool offsetValid = false;
    uint64_t offset = 0;
    size_t nextStart = 0;
    std::vector<PendingPicture> pending;
    kiv::CVideoKivItem item;
    auto completeAnchor = [&]() {
        pending.front().pts = clock / kTicksPer90kHz;
        if (!offsetValid) {
            offset = startPtsList[nextStart++] - pending.front().pts;
            offsetValid = true;
        }
        WritePending(pending, writer, item, offset, endPts);
    };

    while (std::unique_ptr<CAccessUintInformationForVc1> unit = parser.GetNextAccessUnit()) {
        uint32_t type = unit->GetPictureType();
        if (type == kPictureNone) {
            headerBytes += unit->GetSize();
            if (const std::unique_ptr<CSequenceHeader> sh = unit->GetSequenceHeader()) {
                m_interlaceInUse = sh->INTERLACE;
                m_psf = sh->PSF;
            }
            entryPoint = unit->HasEntrypointHeader() ? 1 : 0;
            if (entryPoint == 1) {
                if (segmentFields > m_maxFieldsPerEntryPoint) m_maxFieldsPerEntryPoint = segmentFields;
                segmentFields = 0;
            }
            continue;
        }
        if (type == kPictureI && headerBytes == 0) type = kPictureIWithoutHeader;
        const uint32_t fields = CountDisplayFields(*unit, m_interlaceInUse, m_psf);
        const PendingPicture picture{type,
                                     unit->GetSize() + headerBytes,
                                     clock / kTicksPer90kHz,
                                     clock / kTicksPer90kHz,
                                     entryPoint,
                                     static_cast<uint8_t>(unit->HasEndOfSequence() ? 1 : 0),
                                     fields * period / 2};
        uint32_t step = fields;
        if (IsAnchor(type)) {
            if (!pending.empty()) completeAnchor();
            step = anchorFields;
            anchorFields = fields;
        } else if (pending.size() == kMaxHeldPictures) {
            // The held pictures never got their presentation stamps; the items written so far stay.
            m_errorMessage.Format(kMsgTooManyHeldPictures, parser.GetUnitPosition());
            return false;
        }
        segmentFields += fields;
        if (picture.endOfSequence == 1 && nextStart < startPtsList.size()) offsetValid = false;
        clock += step * period / 2;
        pending.push_back(picture);
        processed += picture.size;
        headerBytes = 0;
        entryPoint = 0;
        NotifyUnit(processed, kSourceVc1VideoEs, kLineAbort);
    }
    if (segmentFields > m_maxFieldsPerEntryPoint) m_maxFieldsPerEntryPoint = segmentFields;
    if (!pending.empty()) completeAnchor();

    kiv::CVideoKivItem closing;
    closing.SetValue(kiv::kIdEncItemType, kiv::kEndItemType);
    closing.SetValue(kiv::kIdPts, endPts);
    writer.WriteItem(closing);
    writer.Close();
    return true;
}

uint32_t CVc1VideoEs::GetVideoFormatCode() const {
    switch (m_dispVertSize + 1) {
        case 480: return m_interlace ? 1 : 3;
        case 576: return m_interlace ? 2 : 7;
        case 720: return m_interlace ? 0 : 5;
        case 1080: return m_interlace ? 4 : 6;
        default: return 0;
    }
}

uint32_t CVc1VideoEs::GetFrameRateCode() const {
    return FrameRateCode(static_cast<uint32_t>(std::lround(m_frameRate * 1000.0)));  // at most 60,000
}

uint32_t CVc1VideoEs::GetAspectRatioCode() const {
    if (m_dispHorizSize == 719 && m_dispVertSize == 479) return m_aspectRatio == 3 ? 2 : m_aspectRatio == 5 ? 3 : 0;
    if (m_dispHorizSize == 719 && m_dispVertSize == 575) return m_aspectRatio == 2 ? 2 : m_aspectRatio == 4 ? 3 : 0;
    if (m_dispHorizSize == 1919 && m_dispVertSize == 1079) return m_aspectRatio == 1 || m_aspectRatio == 15 ? 3 : 0;
    if (m_dispHorizSize == 1279 && m_dispVertSize == 719) return m_aspectRatio == 1 ? 3 : 0;
    return 0;
}

void CVc1VideoEs::GetReportText(CL_CString& out) {
    CL_CString text;
    const uint32_t videoFormat = GetVideoFormatCode();
    const uint32_t aspectRatio = GetAspectRatioCode();
    AppendInvalidCombinationBanner(text, videoFormat, aspectRatio);
    const char* sizeFormat = m_displayExt == 1 ? kReportNumber : kReportNoExist;
    AppendLine(text, sizeFormat, "[DISP_HORIZ_SIZE]", m_dispHorizSize);
    AppendLine(text, sizeFormat, "[DISP_VERT_SIZE]", m_dispVertSize);
    AppendLine(text, m_aspectRatioFlag == 1 ? kReportNumber : kReportNoExist, "[ASPECT_RATIO]", m_aspectRatio);
    AppendLine(text, kReportNumber, "[INTERLACE]", m_interlace);
    CL_CString line;
    if (m_frameRateFlag == 1) {
        line.Format(kReportFrameRate, m_frameRate);
    } else {
        line.Format(kReportNoExist, "[FRAME_RATE]");
    }
    text.Append(line);
    AppendLine(text, kReportNumber, "[level]", m_level);
    out = text;
}

void CVc1VideoEs::GetXmlText(CL_CString& out) {
    const uint32_t frames = m_maxFieldsPerEntryPoint / 2;
    out.Format(kXmlFormat, kXmlDeclaration, kXmlNamespace, GetVideoFormatCode(), GetFrameRateCode(),
               GetAspectRatioCode(), m_interlace, m_level, frames > kMaxFramesPerEps ? kMaxFramesPerEps : frames);
}

}  // namespace es
}  // namespace ts_comp
