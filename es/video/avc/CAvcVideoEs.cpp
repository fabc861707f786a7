#include "es/video/avc/CAvcVideoEs.h"

#include <algorithm>

#include "es/VideoReport.h"
#include "es/video/avc/AvcConstants.h"
#include "es/video/avc/CAvcVideoParser.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "kiv/KivConstants.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace avc_video;

namespace {

// The first access unit of the file through a parser of its own; none when the file does not open.
std::unique_ptr<CAccessUintInformation> ReadFirstAccessUnit(const char* path, bool& opened) {
    CAvcVideoParser parser;
    opened = parser.Open(path);
    if (!opened) return nullptr;
    return parser.GetNextAccessUnit();
}

void AppendLine(CL_CString& out, const char* format, uint32_t value) {
    CL_CString line;
    line.Format(format, static_cast<int>(value));
    out.Append(line);
}

void AppendElement(CL_CString& out, const char* indent, const char* name, uint32_t value) {
    CL_CString line;
    line.Format("%s<%s>%d</%s>\n", indent, name, static_cast<int>(value), name);
    out.Append(line);
}

}  // namespace

CAvcVideoEs::CAvcVideoEs(const CL_CString& esPath) : CEs(esPath) {
    if (!ParseStreamAttributes()) {
        CL_CString fileName;
        m_reader.GetFileName(fileName);
        throw CTsMuxException(error_code::kUnusableEs, CL_CString(messages::kEsAttributeInvalid), kSourceAvcVideoEs,
                              __LINE__, fileName.GetString(), messages::kEsAttributeInvalid);
    }
}

CAvcVideoEs::~CAvcVideoEs() = default;

// A first access unit without any SPS leaves the attributes at their initial values.
bool CAvcVideoEs::ParseStreamAttributes() {
    std::unique_ptr<CAccessUintInformation> unit;
    try {
        bool opened = false;
        unit = ReadFirstAccessUnit(m_esFilePath.GetString(), opened);
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        return false;
    }
    if (unit == nullptr) return false;
    if (std::unique_ptr<seq_parameter_set_data> sps = unit->CloneSpsData()) {
        m_picWidthInMbsMinus1 = sps->pic_width_in_mbs_minus1;
        m_picHeightInMapUnitsMinus1 = sps->pic_height_in_map_units_minus1;
        m_frameMbsOnlyFlag = sps->frame_mbs_only_flag;
        m_profileIdc = sps->profile_idc;
        m_constraintSet0Flag = sps->constraint_set0_flag;
        m_constraintSet1Flag = sps->constraint_set1_flag;
        m_constraintSet2Flag = sps->constraint_set2_flag;
        m_avcCompatibleFlags = sps->avc_compatible_flags;
        m_levelIdc = sps->level_idc;
        if (sps->vui_parameters_present_flag) {
            m_aspectRatioInfoPresentFlag = sps->vui.aspect_ratio_info_present_flag;
            m_aspectRatioIdc = sps->vui.aspect_ratio_idc;
            m_timingInfoPresentFlag = sps->vui.timing_info_present_flag;
            m_numUnitsInTick = sps->vui.num_units_in_tick;
            m_timeScale = sps->vui.time_scale;
        }
    }
    m_dependentView = unit->HasDependentDelimiter();
    return true;
}

// The first access unit must carry what the time stamps are computed from.
bool CAvcVideoEs::CheckFirstAccessUnit() {
    std::unique_ptr<CAccessUintInformation> unit;
    try {
        bool opened = false;
        unit = ReadFirstAccessUnit(m_esFilePath.GetString(), opened);
        if (!opened) return false;
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        m_errorMessage.Format(kMsgEndInsideAccessUnit, int64_t{0});
        return false;
    }
    if (unit == nullptr) unit = std::make_unique<CAccessUintInformation>();
    const std::unique_ptr<seq_parameter_set_data> sps = unit->CloneSpsData();
    const char* failure = nullptr;
    if (!unit->HasBufferingPeriod()) {
        failure = kMsgNoBufferingPeriod;
    } else if (!unit->HasPicTiming()) {
        failure = kMsgNoPictureTiming;
    } else if (!unit->HasVuiParameters()) {
        failure = kMsgNoVui;
    } else if (sps == nullptr) {
        failure = kMsgNoSps;
    } else if (!sps->vui.nal_hrd_parameters_present_flag && !sps->vui.vcl_hrd_parameters_present_flag) {
        failure = kMsgNoHrd;
    }
    if (failure == nullptr) return true;
    m_errorMessage = failure;
    return false;
}

void CAvcVideoEs::ThrowContentError(const char* message, int line) {
    CL_CString fileName;
    m_reader.GetFileName(fileName);
    throw CTsMuxException(error_code::kStreamContent, CL_CString(message), kSourceAvcVideoEs, line,
                          fileName.GetString(), nullptr);
}

bool CAvcVideoEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (!CheckFirstAccessUnit()) return false;
    if (kivPath == nullptr || startPtsList.empty()) return false;
    return IndexAccessUnits(kivPath, startPtsList);
}

// Time stamps count a 54 MHz clock. Each anchored run (the first access unit, and the one after each
// end of sequence) is presented at its start PTS and decoded dpb_output_delay clock ticks earlier; the
// units after it are removed c * cpb_removal_delay after the latest buffering period and presented
// dpb_output_delay ticks later. Products marked 32-bit wrap as the stream's 32-bit fields do.
bool CAvcVideoEs::IndexAccessUnits(const char* kivPath, const std::vector<uint64_t>& startPtsList) {
    std::unique_ptr<kiv::CVideoKiv> writer;
    std::unique_ptr<kiv::CVideoKivItem> item;
    if (m_dependentView) {
        writer = std::make_unique<kiv::CMvcDependentViewVideoKiv>();
        item = std::make_unique<kiv::CMvcDependentViewVideoKivItem>();
    } else {
        writer = std::make_unique<kiv::CVideoKiv>();
        item = std::make_unique<kiv::CVideoKivItem>();
    }
    if (!writer->Create(kivPath)) return false;
    CAvcVideoParser parser;
    if (!parser.Open(m_esFilePath.GetString())) return false;

    uint32_t c = 0;
    bool first = true;
    bool reanchor = false;
    size_t k = 0;
    uint64_t base = 0;
    uint64_t accumulated = 0;
    uint32_t previousDelay = 0;
    uint64_t decode = 0;
    uint64_t present = 0;
    uint64_t end = 0;
    uint64_t maxEnd = 0;
    bool secondFieldNext = false;
    std::unique_ptr<CAccessUintInformation> heldField;
    uint32_t gopFields = 0;
    int64_t processed = 0;
    const uint32_t fieldsPerUnit = m_frameMbsOnlyFlag == 1 ? 2 : 1;
    int64_t unitStart = 0;
    try {
        for (;;) {
            unitStart = parser.Tell();
            std::unique_ptr<CAccessUintInformation> unit = parser.GetNextAccessUnit();
            if (unit == nullptr) break;
            if (unit->HasVuiParameters()) {
                const uint32_t timeScale = unit->GetTimeScale();
                if (timeScale == 0) ThrowContentError(kMsgTimeScaleZero, __LINE__);
                c = static_cast<uint32_t>(uint64_t{unit->GetNumUnitsInTick()} * kTicksPerSecond / timeScale);
            }
            if (!unit->HasPicTiming()) ThrowContentError(kMsgNoPictureTimingSei, __LINE__);

            const uint32_t q = unit->GetCpbRemovalDelay();
            const uint32_t o = unit->GetDpbOutputDelay();
            const uint32_t n = unit->GetFieldCount();
            if (first || reanchor) {
                if (k >= startPtsList.size()) {
                    m_errorMessage = kMsgStartPtsInsufficient;
                    return false;
                }
                const uint32_t d = o * c;
                base = (startPtsList[k] - d / kTicksPer90kHz) * kTicksPer90kHz;
                ++k;
                decode = base;
                present = decode + d;
                end = present + static_cast<uint32_t>(n * c);
                accumulated = q;
                previousDelay = q;
                first = false;
            } else {
                accumulated += static_cast<uint64_t>(int64_t{q} - int64_t{previousDelay});
                decode = base + uint64_t{c} * accumulated;
                present = decode + static_cast<uint32_t>(o * c);
                end = present + static_cast<uint32_t>(n * c);
                previousDelay = unit->HasBufferingPeriod() ? 0 : q;
            }

            const uint32_t pictureType = unit->GetPictureType();
            if (pictureType == 1) {
                m_maxFieldsInGop = std::max(m_maxFieldsInGop, gopFields);
                gopFields = 0;
            }
            gopFields += fieldsPerUnit;

            uint32_t structure = 0;
            bool holdUnit = false;
            if (unit->IsFieldPicture()) {
                if (!secondFieldNext) {
                    structure = 1;
                    secondFieldNext = true;
                    holdUnit = true;
                } else {
                    structure = 2;
                    if (CAccessUintInformation::IsStillFieldPair(*heldField, *unit)) m_stillPresent = 1;
                    secondFieldNext = false;
                    heldField.reset();
                }
            }
            if (unit->IsStillPicture()) m_stillPresent = 1;

            item->SetValue(kiv::kIdDts, decode / kTicksPer90kHz);
            item->SetValue(kiv::kIdPts, present / kTicksPer90kHz);
            item->SetValue(kiv::kIdEncItemSize, unit->GetSize());
            item->SetValue(kiv::kIdEncItemType, pictureType);
            item->SetValue(kiv::kIdClosedGop, unit->IsIdrPicture() ? 1 : 0);
            item->SetValue(kiv::kIdSequenceEndCode, unit->HasEndOfSequence() ? 1 : 0);
            item->SetValue(kiv::kIdPictureStructure, structure);
            processed += unit->GetSize();
            if (m_dependentView) {
                uint32_t pos = 0;
                uint32_t size = 0;
                unit->FindOffsetMetadata(pos, size);
                item->SetValue(kiv::kIdOffsetMetadataPos, pos);
                item->SetValue(kiv::kIdOffsetMetadataSize, size);
            }
            if (!writer->WriteItem(*item)) return false;
            maxEnd = std::max(maxEnd, end);
            reanchor = unit->HasEndOfSequence();

            if (unit->HasSei()) m_noSeiNalUnitPresent = 0;
            if (unit->HasPrefixNalUnit()) m_noPrefixNalUnitPresent = 0;
            if (std::unique_ptr<nal_unit_header_mvc_extension> header = unit->CloneMvcExtensionHeader()) {
                m_temporalIdStart = std::min(m_temporalIdStart, header->temporal_id);
                m_temporalIdEnd = std::max(m_temporalIdEnd, header->temporal_id);
            }
            if (holdUnit) heldField = std::move(unit);
            NotifyUnit(processed, kSourceAvcVideoEs, __LINE__);
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        // The units before this one stay in the KIV file.
        m_errorMessage.Format(kMsgEndInsideAccessUnit, unitStart);
        return false;
    }
    heldField.reset();

    item->SetValue(kiv::kIdDts, 0);
    item->SetValue(kiv::kIdPts, maxEnd / kTicksPer90kHz);
    item->SetValue(kiv::kIdEncItemSize, 0);
    item->SetValue(kiv::kIdEncItemType, kiv::kEndItemType);
    item->SetValue(kiv::kIdClosedGop, 0);
    item->SetValue(kiv::kIdSequenceEndCode, 0);
    item->SetValue(kiv::kIdPictureStructure, 0);
    if (m_dependentView) {
        item->SetValue(kiv::kIdOffsetMetadataPos, 0);
        item->SetValue(kiv::kIdOffsetMetadataSize, 0);
    }
    writer->WriteItem(*item);
    writer->Close();
    m_maxFieldsInGop = std::max(m_maxFieldsInGop, gopFields);
    return true;
}

uint8_t CAvcVideoEs::GetVideoFormatCode() const {
    const bool frames = m_frameMbsOnlyFlag != 0;
    switch (m_picHeightInMapUnitsMinus1) {
        case 14:
        case 29: return frames ? 3 : 1;
        case 17:
        case 35: return frames ? 7 : 2;
        case 33: return frames ? 0 : 4;
        case 44: return frames ? 5 : 0;
        case 67: return frames ? 6 : 0;
        default: return 0;
    }
}

uint8_t CAvcVideoEs::GetFrameRateCode() const {
    if (m_numUnitsInTick == 0 || m_timeScale == 0) return 0;
    return static_cast<uint8_t>(FrameRateCode(m_timeScale * 1000u / (m_numUnitsInTick * 2u)));
}

// By picture size in macroblocks, frame coding and aspect_ratio_idc: 2 for 4:3, 3 for 16:9.
uint8_t CAvcVideoEs::GetAspectRatioCode() const {
    if (!m_aspectRatioInfoPresentFlag) return 0;
    const uint8_t w = m_picWidthInMbsMinus1;
    const uint8_t h = m_picHeightInMapUnitsMinus1;
    const bool f = m_frameMbsOnlyFlag == 1;
    const uint8_t a = m_aspectRatioIdc;
    if (w == 44 && (h == 14 || h == 29)) return a == 3 ? 2 : a == 5 ? 3 : 0;
    if (w == 44 && (h == 17 || h == 35)) return a == 2 ? 2 : a == 4 ? 3 : 0;
    const bool fullHeight = (h == 67 && f) || (h == 33 && !f);
    if (w == 119 && fullHeight && a == 1) return 3;
    if (w == 89 && fullHeight && (a == 14 || a == 255)) return 3;
    if (w == 79 && h == 44 && a == 1) return 3;
    return 0;
}

void CAvcVideoEs::GetReportText(CL_CString& out) {
    const uint8_t videoFormat = GetVideoFormatCode();
    const uint8_t aspectRatio = GetAspectRatioCode();
    AppendInvalidCombinationBanner(out, videoFormat, aspectRatio);
    AppendLine(out, "[PIC_WIDTH_IN_MBS_MINUS1] : %d\r\n", m_picWidthInMbsMinus1);
    AppendLine(out, "[PIC_HEIGHT_IN_MBS_MINUS1] : %d\r\n", m_picHeightInMapUnitsMinus1);
    AppendLine(out, "[FRAME_MBS_ONLY_FLAG] : %d\r\n", m_frameMbsOnlyFlag);
    AppendLine(out, "[ASPECT_RATIO_IDC_FLAG] : %d\r\n", m_aspectRatioInfoPresentFlag);
    if (m_aspectRatioInfoPresentFlag == 1) AppendLine(out, "[ASPECT_RATIO_IDC] : %d\r\n", m_aspectRatioIdc);
    AppendLine(out, "[TIMING_INFO_PRESENT_FLAG] : %d\r\n", m_timingInfoPresentFlag);
    if (m_timingInfoPresentFlag == 1) {
        AppendLine(out, "[NUM_UNITS_IN_TICK] : %d\r\n", m_numUnitsInTick);
        AppendLine(out, "[TIME_SCALE] : %d\r\n", m_timeScale);
    }
    AppendLine(out, "[PROFILE_IDC] : %d\r\n", m_profileIdc);
    AppendLine(out, "[LEVEL_IDC] : %d\r\n", m_levelIdc);
}

void CAvcVideoEs::GetXmlText(CL_CString& out) {
    CL_CString text;
    text.Append(kXmlDeclaration);
    text.Append("\n");
    CL_CString root;
    root.Format(kXmlRootFormat, kXmlNamespace);
    text.Append(root);
    text.Append("  <parameter>\n");
    const char* in4 = "    ";
    AppendElement(text, in4, "video_format", GetVideoFormatCode());
    AppendElement(text, in4, "frame_rate", GetFrameRateCode());
    AppendElement(text, in4, "aspect_ratio", GetAspectRatioCode());
    AppendElement(text, in4, "maximum_number_of_fields_displayed_in_a_GOP", std::min<uint32_t>(m_maxFieldsInGop, 255));
    AppendElement(text, in4, "AvcVideoDescriptorPresent", m_stillPresent ? 1 : 0);
    AppendElement(text, in4, "ProfileIdc", m_profileIdc);
    AppendElement(text, in4, "ConstraintSet0Flag", m_constraintSet0Flag);
    AppendElement(text, in4, "ConstraintSet1Flag", m_constraintSet1Flag);
    AppendElement(text, in4, "ConstraintSet2Flag", m_constraintSet2Flag);
    AppendElement(text, in4, "AvcCompatibleFlags", m_avcCompatibleFlags);
    AppendElement(text, in4, "LevelIdc", m_levelIdc);
    AppendElement(text, in4, "AvcStillPresent", m_stillPresent ? 1 : 0);
    for (const char* name : {"Avc24HourPictureFlag", "AvcTimingAndHrdDescriptorPresent", "HrdManagementValidFlag",
                             "PictureAndTimingInfoPresent", "_x0039_0kHzFlag", "N", "K", "NumUnitsInTick",
                             "FixedFrameRateFlag", "TemporalPocFlag", "PictureToDisplayConversionFlag"}) {
        AppendElement(text, in4, name, 0);
    }
    text.Append("    <MvcExtensionDescriptor>\n");
    const char* in8 = "        ";
    AppendElement(text, in8, "OutputFlag", 0);
    AppendElement(text, in8, "average_bit_rate", 0);
    AppendElement(text, in8, "maximum_bitrate", 0);
    AppendElement(text, in8, "view_order_index_min", 1);
    AppendElement(text, in8, "view_order_index_max", 1);
    AppendElement(text, in8, "temporal_id_start", m_temporalIdStart == 255 ? 0 : m_temporalIdStart);
    AppendElement(text, in8, "temporal_id_end", m_temporalIdEnd);
    AppendElement(text, in8, "no_sei_nal_unit_present", m_noSeiNalUnitPresent);
    AppendElement(text, in8, "no_prefix_nal_unit_present", m_noPrefixNalUnitPresent);
    text.Append("    </MvcExtensionDescriptor>\n");
    text.Append("  </parameter>\n");
    text.Append("</Video4ES>\n");
    out = text;
}

}  // namespace es
}  // namespace ts_comp
