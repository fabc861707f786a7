// Constants, tables and texts of the DTS and DTS-HD analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace dts {

// Sync words, read most significant byte first.
constexpr uint32_t kCoreSync = 0x7FFE8001;
constexpr uint32_t kExtensionSubstreamSync = 0x64582025;
// Bytes of a sync word.
constexpr uint32_t kSyncBytes = 4;
// Extension substream header fields whose width depends on bHeaderSizeType (0, 1).
constexpr uint32_t kHeaderSizeBits[2] = {8, 12};
constexpr uint32_t kSubstreamSizeBits[2] = {16, 20};
// Bytes of a core frame header.
constexpr int64_t kCoreHeaderBytes = 11;
// Most bytes an extension substream parse reads from the substream's start: the header fields of eight
// assets with the longest info texts take 8365 bytes, a header of 4096 bytes and the word after it 4100.
constexpr int64_t kMostExtensionHeaderBytes = 8448;
// Bytes from a unit's start that reading its sizes out of memory may load: the extension substream's sizes
// end in byte 10, and each read loads 8 bytes.
constexpr uint32_t kBufferedHeadBytes = 24;
// Samples of the reference clock per nuExSSFrameDurationCode step.
constexpr uint32_t kFrameDurationUnit = 512;
// Ticks per second of the time stamps.
constexpr uint64_t kTicksPerSecond = 90000;
// Assets a header may describe (nuNumAssets is a 3-bit value plus one).
constexpr uint32_t kMaxAssets = 8;
// Reference clock in Hz by nuRefClockCode; 0 for the reserved code.
constexpr uint32_t kReferenceClock[4] = {32000, 44100, 48000, 0};
// Core channels by AMODE 0 to 15.
constexpr uint8_t kCoreChannels[16] = {1, 2, 2, 2, 2, 3, 3, 4, 4, 5, 6, 6, 7, 8, 8, 0};
// Core sampling frequency in Hz by SFREQ; 0 for the invalid codes.
constexpr uint32_t kCoreSamplingFrequency[16] = {0,     8000, 16000, 32000, 0,     0,     11025, 22050,
                                                 44100, 0,    0,     12000, 24000, 48000, 0,     0};

}  // namespace dts

namespace dts_analyser {

constexpr const char* kSourceDtsHDEs = "DtsHDEs";
// Shortest file accepted at construction, and the bytes read from its head.
constexpr uint32_t kMinimumFileSize = 192;
// First eight bytes of a DTS-HD file that carries a metadata header.
constexpr char kMetadataMarker[] = "DTSHDHDR";
// Sync words the attribute parse looks at.
constexpr int kAttributePasses = 2;
// 90 kHz ticks per core frame (512 samples at 48 kHz), also the first extension step.
constexpr uint64_t kPtsStep = 960;

// Result of the channel check for a stereo core with a multi-channel extension.
constexpr uint8_t kChannelsStereoPlusMulti = 12;
// Extension channel values from which the report warns of more than 7.1 channels.
constexpr int kOverSevenOneChannels = 72;

// Texts of CreateKiv; the "Stuffnig" spelling belongs to the text.
constexpr const char* kMsgStuffing = "\nStuffnig bits exist. (pos = %wd[byte])";
constexpr const char* kMsgFrameCounts =
    "\nNumber of extension frame is not equal to number of main frame. (number of main frame = %d, number of "
    "extension frame = %d)";
constexpr const char* kMsgExtensionCutOff = "\nThe es file ends inside an extension substream. (pos = %wd[byte])";

// Text report.
constexpr const char* kLabelLegacyCore = "[Legacy Core]";
constexpr const char* kLabelAmode = "[amode]";
constexpr const char* kLabelSfreq = "[sfreq]";
constexpr const char* kLabelExtAudio = "[EXT_AUDIO]";
constexpr const char* kLabelExtAudioId = "[EXT_AUDIO_ID]";
constexpr const char* kLabelLff = "[LFF]";
constexpr const char* kLabelExtensionSubstream = "[Extension Substream]";
constexpr const char* kLabelTotalChannels = "[nTotalNumCHs]";
constexpr const char* kLabelMaxSampleRate = "[nMaxSampleRate]";
constexpr const char* kLabelSpeakerMask = "[nuSpkrActivityMask]";
constexpr const char* kReportSyncLineFormat = "[Extension Substream Sync] : %08X\r\n";
constexpr const char* kReportOverSevenOne = "An number of channels is over 7.1[ch].\r\n";

// XML attribute document: declaration, namespace, the five core values, the flag and the four extension values.
constexpr const char* kXmlFormat =
    "%s\n"
    "<DTS xmlns=\"%s\">\n"
    "  <parameter>\n"
    "    <AMODE>%d</AMODE>\n"
    "    <SFREQ>%d</SFREQ>\n"
    "    <EXT_AUDIO>%d</EXT_AUDIO>\n"
    "    <EXT_AUDIO_ID>%d</EXT_AUDIO_ID>\n"
    "    <LFF>%d</LFF>\n"
    "    <extension_substream_flag>%d</extension_substream_flag>\n"
    "    <extension_parameter>\n"
    "      <extensionSubStreamSync>%08X</extensionSubStreamSync>\n"
    "      <nTotalNumCHs>%d</nTotalNumCHs>\n"
    "      <nMaxSampleRate>%d</nMaxSampleRate>\n"
    "      <nuSpkrActivityMask>%d</nuSpkrActivityMask>\n"
    "    </extension_parameter>\n"
    "  </parameter>\n"
    "</DTS>\n";

}  // namespace dts_analyser
}  // namespace es
}  // namespace ts_comp
