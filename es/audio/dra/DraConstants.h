// Constants, tables and texts of the DRA analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace dra_audio {

// Sync word that opens every frame.
constexpr uint16_t kSyncWord = 0x7FFF;
constexpr uint8_t kSyncByte0 = 0x7F;
constexpr uint8_t kSyncByte1 = 0xFF;
// Bits of the longest frame header, of either type.
constexpr uint32_t kLongestHeaderBits = 16 + 1 + 10 + 2 + 4 + 3 + 1 + 1 + 1 + 1 + 5;
// Bytes a frame parse straight from memory needs from the frame's start: the longest header in one 8-byte load.
constexpr uint32_t kBufferedHeadBytes = 8;
// Sampling rates by nSampleRateIndex 0 to 12; indexes 13 to 15 have none.
constexpr uint32_t kSampleRates[] = {8000,  11025, 12000, 16000, 22050,  24000, 32000,
                                     44100, 48000, 88200, 96000, 176400, 192000};
constexpr uint32_t kSampleRateCount = 13;
// Samples per block, and the 90 kHz clock.
constexpr uint32_t kSamplesPerBlock = 128;
constexpr uint32_t kClockHz = 90000;

}  // namespace dra_audio

namespace dra {

constexpr const char* kSourceDraEs = "DraEs";
// Shortest file accepted at construction, and the bytes read from its head.
constexpr uint32_t kMinimumFileSize = 192;

// Text report and XML attribute document.
constexpr const char* kReportFormat = "[nSampleRateIndex] : %d\r\n[nNumNormalCh] : %d\r\n[nNumLfeCh] : %d\r\n";
constexpr const char* kXmlFormat =
    "%s\n"
    "<DRA xmlns=\"%s\">\n"
    " <parameter>\n"
    "    <nSampleRateIndex>%d</nSampleRateIndex>\n"
    "    <nNumNormalCh>%d</nNumNormalCh>\n"
    "    <nNumLfeCh>%d</nNumLfeCh>\n"
    "  </parameter>\n"
    "</DRA>\n";

}  // namespace dra
}  // namespace es
}  // namespace ts_comp
