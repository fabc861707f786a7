// Constants, tables and texts of the MLP analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace mlp {

constexpr const char* kSourceMlpEs = "MlpEs";
// Shortest file accepted at construction, and the bytes read from its head.
constexpr uint32_t kMinimumFileSize = 192;
// Substream entries an access unit can describe.
constexpr uint32_t kMaxSubstreams = 15;
// The two bytes after input_timing that open a major sync.
constexpr uint8_t kMajorSyncByte0 = 0xF8;
constexpr uint8_t kMajorSyncByte1 = 0x72;
// Bytes of an access unit's head: check_nibble, access_unit_length and input_timing.
constexpr uint32_t kUnitHeadBytes = 4;
// Bytes of a major sync, of a substream directory entry with its extra word, and the largest end pointer
// (12 bits, in 16-bit words).
constexpr uint32_t kMajorSyncBytes = 28;
constexpr uint32_t kDirectoryEntryMaxBytes = 4;
constexpr uint16_t kMaxEndPointer = 0xFFF;
// Furthest an access unit's fields reach from its first byte: the head, a major sync, a directory of
// kMaxSubstreams entries with their extra words, then the flag byte of a substream whose end pointer is the
// largest, plus the 8 bytes each read loads; and the same for the head and the major sync alone.
constexpr uint32_t kUnitReach = kUnitHeadBytes + kMajorSyncBytes + kMaxSubstreams * kDirectoryEntryMaxBytes +
                                2 * kMaxEndPointer + 1 + 8;
constexpr uint32_t kHeadReach = kUnitHeadBytes + kMajorSyncBytes + 8;
// input_timing and output_timing count samples modulo this.
constexpr uint64_t kTimingModulus = 65536;
// 90 kHz ticks per access unit (1/1200 s), and access units per second.
constexpr uint64_t kTicksPerUnit = 75;
constexpr uint32_t kUnitsPerSecond = 1200;
constexpr double kClockHz = 90000.0;
// Sampling rates of audio_sampling_frequency codes 0 to 2; other codes have none.
constexpr uint32_t kSamplingRates[] = {48000, 96000, 192000};
constexpr uint32_t kSamplingRateCodes = 3;
// enc_item_type of an access unit with and without a major sync.
constexpr uint8_t kItemTypeMajorSync = 1;
constexpr uint8_t kItemTypePlain = 0;

// CreateKiv throws (code 15) with the access unit's index.
constexpr const char* kMsgSamplingFrequencyZero = "\nA sampling frequency is 0.(au = %d)";
// CreateKiv stops with false and one of these, naming the access unit's byte position.
constexpr const char* kMsgEndInsideUnit = "\nThe es file ends inside an access unit. (pos = %lld[byte])";
constexpr const char* kMsgUnitShorterThanHead =
    "\nAn access unit is shorter than its own header. (pos = %lld[byte])";

// Text report: lines "%s : %d", the sampling frequency line marked when its code has no rate.
constexpr const char* kReportSamplingFrequency = "[audio_sampling_frequency] : %d";
constexpr const char* kReportLineFormats[] = {
    "[_6ch_decorder_channel_assignment] : %d\r\n",
    "[_8ch_decorder_channel_assignment] : %d\r\n",
    "[restart_header_exists] : %d\r\n",
};
constexpr const char* kReportRestartFormats[] = {
    "[substreams] : %d\r\n",
    "[max_chan0] : %d\r\n",
    "[max_chan1] : %d\r\n",
    "[max_chan2] : %d\r\n",
};
constexpr const char* kReportLineEnd = "\r\n";

// XML attribute document: declaration, namespace, then the eight attributes.
constexpr const char* kXmlFormat =
    "%s\n"
    "<MLP xmlns=\"%s\">\n"
    "  <parameter>\n"
    "    <audio_sampling_frequency>%d</audio_sampling_frequency>\n"
    "    <_6ch_decorder_channel_assignment>%d</_6ch_decorder_channel_assignment>\n"
    "    <_8ch_decorder_channel_assignment>%d</_8ch_decorder_channel_assignment>\n"
    "    <restart_header_exists>%d</restart_header_exists>\n"
    "    <substreams>%d</substreams>\n"
    "    <max_chan0>%d</max_chan0>\n"
    "    <max_chan1>%d</max_chan1>\n"
    "    <max_chan2>%d</max_chan2>\n"
    "  </parameter>\n"
    "</MLP>\n";

}  // namespace mlp
}  // namespace es
}  // namespace ts_comp
