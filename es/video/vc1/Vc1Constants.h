// BDU types, code tables, texts and throw-site lines of the VC-1 parser and analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace vc1_video {

// BDU types (the byte after the start code 0x000001).
constexpr uint8_t kBduEndOfSequence = 0x0A;
constexpr uint8_t kBduFrame = 0x0D;
constexpr uint8_t kBduEntryPoint = 0x0E;
constexpr uint8_t kBduSequenceHeader = 0x0F;
// Bytes of the start code with its type byte.
constexpr int64_t kStartCodeBytes = 4;

constexpr uint8_t kProfileAdvanced = 3;
constexpr uint8_t kProfileMain = 2;

// PTYPE codes, left-aligned in 4 bits.
constexpr uint8_t kPtypeP = 0;
constexpr uint8_t kPtypeB = 8;
constexpr uint8_t kPtypeI = 12;
constexpr uint8_t kPtypeBI = 14;
constexpr uint8_t kPtypeSkipped = 15;
constexpr uint8_t kFcmFieldInterlace = 3;

// enc_item_type of the pictures.
constexpr uint32_t kPictureNone = 0;
constexpr uint32_t kPictureI = 1;
constexpr uint32_t kPictureP = 2;
constexpr uint32_t kPictureB = 3;
constexpr uint32_t kPictureIWithoutHeader = 4;

// FRAMERATENR 1..7 to the numerator of the frame rate; FRAMERATEDR 1..2 to its divisor.
constexpr uint32_t kFrameRateNumerators[8] = {0, 24000, 25000, 30000, 50000, 60000, 48000, 72000};
constexpr uint32_t kFrameRateDivisors[3] = {0, 1000, 1001};
constexpr double kTicksPerSecond = 27000000.0;
constexpr uint64_t kTicksPer90kHz = 300;

constexpr const char* kSourceVc1VideoEs = "Vc1VideoEs";
constexpr int kLineAttributeInvalid = 18;
constexpr int kLineAbort = 252;

constexpr const char* kMsgNoSequenceHeader = "A sequence header does not exist.";
constexpr const char* kMsgNotAdvancedProfile = "A profile is not Advanced profile.";
constexpr const char* kMsgFrameRateUnknown = "Frame rate does not calculate.";

constexpr const char* kReportNoExist = "%s : no exist\r\n";
constexpr const char* kReportNumber = "%s : %d\r\n";
constexpr const char* kReportFrameRate = "[FRAME_RATE] : %7.3f\r\n";
constexpr const char* kXmlFormat =
    "%s\n<VC1ES xmlns=\"%s\">\n<parameter>\n"
    "<video_format>%d</video_format>\n"
    "<frame_rate>%d</frame_rate>\n"
    "<aspect_ratio>%d</aspect_ratio>\n"
    "<interlace>%d</interlace>\n"
    "<level>%d</level>\n"
    "<maximum_number_of_frames_display_in_an_EPS>%d</maximum_number_of_frames_display_in_an_EPS>\n"
    "</parameter>\n</VC1ES>\n";
constexpr uint32_t kMaxFramesPerEps = 255;

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
