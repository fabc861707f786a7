// Constants of the graphics segment syntax and of the segment parser.
#pragma once

#include <cstdint>

namespace gsp {

constexpr uint32_t kFileBufferSize = 0x40000;  // every file of the parser is read through 262,144 bytes

constexpr uint8_t kSegmentPDS = 0x14;
constexpr uint8_t kSegmentODS = 0x15;
constexpr uint8_t kSegmentPCS = 0x16;
constexpr uint8_t kSegmentWDS = 0x17;
constexpr uint8_t kSegmentICS = 0x18;
constexpr uint8_t kSegmentEND = 0x80;

}  // namespace gsp
