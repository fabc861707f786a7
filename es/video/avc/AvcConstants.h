// NAL unit types, SEI payload types, clock figures and texts of the AVC parser and analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace avc_video {

// nal_unit_type values the parser and the record queries tell apart.
constexpr uint8_t kNalSliceNonIdr = 1;
constexpr uint8_t kNalSliceIdr = 5;
constexpr uint8_t kNalSei = 6;
constexpr uint8_t kNalSps = 7;
constexpr uint8_t kNalPps = 8;
constexpr uint8_t kNalAccessUnitDelimiter = 9;
constexpr uint8_t kNalEndOfSequence = 10;
constexpr uint8_t kNalEndOfStream = 11;
constexpr uint8_t kNalPrefix = 14;
constexpr uint8_t kNalSubsetSps = 15;
constexpr uint8_t kNalSliceExtension = 20;
constexpr uint8_t kNalDependentDelimiter = 24;
constexpr uint8_t kNalTypeMask = 0x1F;

// SEI payload types.
constexpr uint32_t kSeiBufferingPeriod = 0;
constexpr uint32_t kSeiPicTiming = 1;
constexpr uint32_t kSeiUserDataUnregistered = 5;
constexpr uint32_t kSeiMvcScalableNesting = 37;

// Type indicators of the user data that carries offset metadata ("OFMD", or all ones).
constexpr uint32_t kOffsetMetadataIndicator = 0x4F464D44;
constexpr uint32_t kOffsetMetadataIndicatorAll = 0xFFFFFFFF;

// Largest cpb_cnt_minus1 accepted; a larger one fails the parse of its NAL unit.
constexpr uint64_t kMaxCpbCntMinus1 = 255;
constexpr uint32_t kMaxCpbCountSlots = 256;
// Longest Exp-Golomb prefix whose value fits 64 bits.
constexpr uint32_t kMaxExpGolombZeros = 63;

// Analyser clock: 54 MHz ticks, 600 of them per 90 kHz unit.
constexpr uint64_t kTicksPerSecond = 54000000;
constexpr uint64_t kTicksPer90kHz = 600;

constexpr const char* kSourceAvcVideoEs = "AvcVideoEs";
constexpr const char* kMsgNoBufferingPeriod = "A buffering period sei does not exist.";
constexpr const char* kMsgNoPictureTiming = "A picture timing sei does not exist.";
constexpr const char* kMsgNoVui = "A vui_parameters does not exist.";
constexpr const char* kMsgNoSps = "A seq_parameter_set_data does not exist.";
constexpr const char* kMsgNoHrd = "A hrd_parameters does not exist.";
constexpr const char* kMsgTimeScaleZero = "A time_scale is zero.";
constexpr const char* kMsgNoPictureTimingSei = "A picture_timing_sei does not exist.";
constexpr const char* kMsgStartPtsInsufficient = "The number of pts in start pts list is insufficient.";
constexpr const char* kMsgEndInsideAccessUnit = "\nThe es file ends inside an access unit. (pos = %wd[byte])";

constexpr const char* kXmlRootFormat = "<Video4ES xmlns=\"%s\">\n";

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
