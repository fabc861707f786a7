// Constants, tables and texts of the AC-3 and E-AC-3 analyser.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {
namespace dolby_digital_audio {

// Sync word that opens every AC-3 and E-AC-3 sync frame, in stream byte order.
constexpr uint8_t kSyncByte0 = 0x0B;
constexpr uint8_t kSyncByte1 = 0x77;
// Bytes the frame recognisers look at.
constexpr uint32_t kRecogniseBytes = 10;
// bsid of E-AC-3; AC-3 frames carry at most kMaxLegacyBsid.
constexpr uint8_t kEnhancedBsid = 16;
constexpr uint8_t kMaxLegacyBsid = 8;
// Rows of the frame-size table (frmsizecod 0 to 37) and its sampling-rate columns (fscod 0 to 2).
constexpr uint32_t kFrameSizeCodes = 38;
constexpr uint32_t kFrameSizeRates = 3;
// 16-bit words per AC-3 sync frame by fscod (48, 44.1, 32 kHz) and frmsizecod.
constexpr uint16_t kFrameSizeWords[kFrameSizeRates][kFrameSizeCodes] = {
    {64,  64,  80,  80,  96,  96,  112, 112, 128, 128, 160, 160,  192,  192,  224,  224,  256,  256,  320,
     320, 384, 384, 448, 448, 512, 512, 640, 640, 768, 768, 896,  896,  1024, 1024, 1152, 1152, 1280, 1280},
    {69,  70,  87,  88,  104, 105, 121, 122, 139, 140, 174, 175,  208,  209,  243,  244,  278,  279,  348,
     349, 417, 418, 487, 488, 557, 558, 696, 697, 835, 836, 975,  976,  1114, 1115, 1253, 1254, 1393, 1394},
    {96,  96,  120, 120, 144, 144, 168, 168, 192, 192, 240, 240,  288,  288,  336,  336,  384,  384,  480,
     480, 576, 576, 672, 672, 768, 768, 960, 960, 1152, 1152, 1344, 1344, 1536, 1536, 1728, 1728, 1920, 1920},
};
// Audio blocks per E-AC-3 sync frame by numblkscod.
constexpr uint8_t kBlocksPerFrame[4] = {1, 2, 3, 6};
// strmtyp values of E-AC-3.
constexpr uint8_t kStreamTypeIndependent = 0;
constexpr uint8_t kStreamTypeDependent = 1;
constexpr uint8_t kStreamTypeConverted = 2;

// Words of an AC-3 sync frame, or 0 for an fscod or frmsizecod outside the table.
inline uint32_t LegacyFrameWords(uint32_t fscod, uint32_t frmsizecod) {
    if (fscod >= kFrameSizeRates || frmsizecod >= kFrameSizeCodes) return 0;
    return kFrameSizeWords[fscod][frmsizecod];
}

}  // namespace dolby_digital_audio

namespace ac3 {

constexpr const char* kSourceAc3Es = "Ac3Es";
// Shortest file accepted at construction, and the bytes read from its head.
constexpr uint32_t kMinimumFileSize = 192;
// Bytes read at the start of each sync frame by the scan.
constexpr uint32_t kHeaderBytes = 7;
// 90 kHz ticks per AC-3 frame or independent E-AC-3 frame (1536 samples at 48 kHz).
constexpr uint64_t kPtsStep = 2880;
// Frames the attribute parse looks at.
constexpr int kAttributePasses = 2;
// bsid values the scan accepts for AC-3 frames.
constexpr uint8_t kScanBsids[] = {8, 6, 4};
// Value of an unread language code.
constexpr uint8_t kNoLanguageCode = 255;

// Channel bitmaps: bit 15 the LFE, bit 14 a second LFE (not counted as a full-band channel).
constexpr uint32_t kChannelLfe = 1u << 15;
constexpr uint32_t kChannelLfe2 = 1u << 14;
// Bitmap of each audio coding mode (acmod 0 to 7).
constexpr uint32_t kAcmodChannels[8] = {0x30000, 0x2, 0x5, 0x7, 0x40005, 0x40007, 0x1D, 0x1F};

// Text report.
constexpr const char* kLabelLegacyCore = "[Legacy Core]";
// Labels of the report lines (the substream block reuses fscod, acmod and lfeon).
constexpr const char* kLabelFscod = "[fscod]";
constexpr const char* kLabelFrmsizecod = "[frmsizecod]";
constexpr const char* kLabelBsid = "[bsid]";
constexpr const char* kLabelBsmod = "[bsmod]";
constexpr const char* kLabelAcmod = "[acmod]";
constexpr const char* kLabelLfeon = "[lfeon]";
constexpr const char* kLabelDsurmod = "[dsurmod]";
constexpr const char* kLabelCompre = "[compre]";
constexpr const char* kLabelLangcode = "[langcode]";
constexpr const char* kLabelLangcod = "[langcod]";
constexpr const char* kLabelAudprodie = "[audprodie]";
constexpr const char* kLabelCompr2e = "[compr2e]";
constexpr const char* kLabelLangcod2e = "[langcod2e]";
constexpr const char* kLabelLangcod2 = "[langcod2]";
constexpr const char* kLabelFullSvc = "[fullSvc]";
constexpr const char* kLabelChanmape = "[chanmape]";
constexpr const char* kLabelChanmap = "[chanmap]";
constexpr const char* kLabelSubstream0 = "[Substream0]";

// XML attribute document: declaration, namespace, then the eleven main values and three substream values.
constexpr const char* kXmlFormat =
    "%s\n"
    "<AC3 xmlns=\"%s\">\n"
    " <parameter>\n"
    "    <sample_rate_code>%d</sample_rate_code>\n"
    "    <bsid>%d</bsid>\n"
    "    <bit_rate_code>%d</bit_rate_code>\n"
    "    <dsurmod>%d</dsurmod>\n"
    "    <bsmod>%d</bsmod>\n"
    "    <acmod>%d</acmod>\n"
    "    <lfeon>%d</lfeon>\n"
    "    <fullSvc>%d</fullSvc>\n"
    "    <langcod>%d</langcod>\n"
    "    <langcod2>%d</langcod2>\n"
    "    <substream0_flag>%d</substream0_flag>\n"
    "    <substream0_parameter>\n"
    "      <fscod>%d</fscod>\n"
    "      <acmod>%d</acmod>\n"
    "      <lfeon>%d</lfeon>\n"
    "    </substream0_parameter>\n"
    "  </parameter>\n"
    "</AC3>\n";

}  // namespace ac3
}  // namespace es
}  // namespace ts_comp
