// Start codes, extension identifiers, periods and texts of the MPEG-2 video parser and analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace mpeg2_video {

constexpr uint8_t kPictureStartCode = 0x00;
constexpr uint8_t kSequenceHeaderCode = 0xB3;
constexpr uint8_t kExtensionStartCode = 0xB5;
constexpr uint8_t kSequenceEndCode = 0xB7;
constexpr uint8_t kGroupStartCode = 0xB8;
constexpr int64_t kStartCodeBytes = 4;
constexpr uint8_t kSequenceExtensionId = 1;
constexpr uint8_t kSequenceDisplayExtensionId = 2;
constexpr uint8_t kPictureCodingExtensionId = 8;

// Attribute reading from the head of the file.
constexpr uint32_t kAttributeBytes = 192;
constexpr uint32_t kExtensionSearchFirst = 11;
constexpr uint32_t kExtensionSearchLast = 159;

// Frame periods in 27 MHz ticks by frame_rate_code; other codes use kDefaultPeriod.
constexpr int64_t kPeriodByCode[9] = {900900, 1126125, 1125000, 1080000, 900900, 900000, 540000, 450450, 450000};
constexpr int64_t kDefaultPeriod = 900900;
constexpr int64_t kTicksPer90kHz = 300;

constexpr const char* kSourceVideoEs = "VideoEs";
constexpr const char* kReportLineFormat = "%s : %d\r\n";
constexpr const char* kXmlFormat =
    "%s\n%s\n <parameter>\n    %s%d%s\n    %s%d%s\n    %s%d%s\n   %s%d%s\n </parameter>\n</VideoES>\n";
constexpr const char* kXmlRootFormat = "<VideoES xmlns=\"%s\">";

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
