// Constants and texts of the HDMV LPCM analyser: frame layout, timing, accepted codes, report and XML.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace hdmv_lpcm {

// Source name of the analyser's throw sites.
constexpr const char* kSourceHdmvLpcmEs = "HdmvLpcmEs";
// Bytes the constructor reads from the start of the stream.
constexpr uint32_t kHeadSize = 192;
// Bytes of the header before each frame's payload.
constexpr uint32_t kFrameHeaderSize = 4;
// enc_item_type of a frame's item.
constexpr uint8_t kFrameItemType = 0;
// Every frame lasts 5 ms at 90 kHz, whatever its header says.
constexpr uint64_t kFrameDuration = 450;
// Exactly one start time stamp is taken: the PTS of the first frame.
constexpr size_t kStartPtsCount = 1;

// Codes the report accepts; any other value is marked.
constexpr uint8_t kAcceptedChannelAssignments[] = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr uint8_t kAcceptedSamplingFrequencies[] = {1, 4, 5};
constexpr uint8_t kAcceptedBitsPerSample[] = {1, 2, 3};

// Report lines: "%s : %d" with the bracketed name, then the shared marker of an unaccepted value.
constexpr const char* kReportLineFormat = "%s : %d";
constexpr const char* kReportLineEnd = "\r\n";
constexpr const char* kReportPayloadSize = "[audio_data_payload_size]";
constexpr const char* kReportChannelAssignment = "[channel_assignment]";
constexpr const char* kReportSamplingFrequency = "[sampling_frequency]";
constexpr const char* kReportBitsPerSample = "[bits_per_sample]";

// XML attribute text: declaration, root start tag, then three children between their tags.
constexpr const char* kXmlFormat =
    "%s\n%s\n <parameter>\n    %s%d%s\n    %s%d%s\n    %s%d%s\n  </parameter>\n</LPCM>\n";
constexpr const char* kXmlRootStartFormat = "<LPCM xmlns=\"%s\">";
constexpr const char* kXmlChannelAssignmentOpen = "<channel_assignment>";
constexpr const char* kXmlChannelAssignmentClose = "</channel_assignment>";
constexpr const char* kXmlSamplingFrequencyOpen = "<sampling_frequency>";
constexpr const char* kXmlSamplingFrequencyClose = "</sampling_frequency>";
constexpr const char* kXmlBitPerSampleOpen = "<bit_per_sample>";
constexpr const char* kXmlBitPerSampleClose = "</bit_per_sample>";

}  // namespace hdmv_lpcm
}  // namespace es
}  // namespace ts_comp
