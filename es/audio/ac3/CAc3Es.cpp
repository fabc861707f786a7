#include "es/audio/ac3/CAc3Es.h"

#include <cstring>

#include "es/audio/AudioReport.h"
#include "es/audio/CAudioItemLoop.h"
#include "es/audio/IsMultiChannelCode.h"
#include "es/audio/ac3/Ac3Constants.h"
#include "es/audio/ac3/CEnhancedFrameForDD.h"
#include "es/audio/ac3/CLegacyCoreFrameForDD.h"
#include "es/audio/ac3/DolbyDigitalSync.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace ac3;
using namespace dolby_digital_audio;

namespace {

uint32_t CodingModeChannels(uint8_t acmod, uint8_t lfeon) {
    return kAcmodChannels[acmod & 7] | (lfeon ? kChannelLfe : 0);
}

// Ten per full-band channel, plus one for each LFE.
int ChannelCode(uint32_t channels) {
    const uint32_t lfe = kChannelLfe | kChannelLfe2;
    return kMonoCode * __builtin_popcount(channels & ~lfe) + ((channels & kChannelLfe) ? 1 : 0) +
           ((channels & kChannelLfe2) ? 1 : 0);
}

}  // namespace

CAc3Es::CAc3Es(const CL_CString& esPath) : CAudioEs(esPath, kSourceAc3Es) {
    uint8_t head[kMinimumFileSize] = {};
    ReadHead(head, kMinimumFileSize);
    if (!ParseAttributes()) {
        // A sync word in the wrong byte order tells a byte-swapped stream.
        const bool swapped = head[0] == kSyncByte1 && head[1] == kSyncByte0;
        ThrowUnusable(swapped ? messages::kEndianInverse : messages::kEsAttributeInvalid, __LINE__);
    }
}

CAc3Es::~CAc3Es() = default;

// At most two frames through a bit buffer of its own; any exception means the head does not parse.
bool CAc3Es::ParseAttributes() {
    try {
        CL_CString path;
        GetEsFilePath(path);
        CBinaryBuffer buffer;
        if (!buffer.Open(path.GetString())) {
            Throw(error_code::kOpenOther, messages::kOpenError, path.GetString(), __LINE__);
        }
        Attributes& a = m_attributes;
        for (int pass = 0; pass < kAttributePasses; ++pass) {
            if (IsLegacyCoreFrame(buffer)) {
                CLegacyCoreFrameForDD frame;
                if (!frame.Parse(buffer)) continue;
                a.fscod = frame.fscod;
                a.frmsizecod = frame.frmsizecod;
                a.bsid = frame.bsid;
                a.bsmod = frame.bsmod;
                a.acmod = frame.acmod;
                a.lfeon = frame.lfeon;
                a.dsurmod = frame.dsurmod;
                a.compre = frame.compre;
                a.langcode = frame.langcode;
                a.langcod = frame.langcod;
                a.audprodie = frame.audprodie;
                a.compr2e = frame.compr2e;
                a.langcod2e = frame.langcod2e;
                a.langcod2 = frame.langcod2;
                a.legacyCore = 1;
                a.fullSvc = 0;
            } else if (IsEnhancedFrame(buffer)) {
                CEnhancedFrameForDD frame;
                if (!frame.Parse(buffer)) continue;
                a.substream0_flag = 1;
                a.substreamFscod = frame.fscod;
                a.substreamAcmod = frame.acmod;
                a.substreamLfeon = frame.lfeon;
                a.chanmape = frame.chanmape;
                a.chanmap = frame.chanmap;
                if (a.legacyCore == 0) {
                    // A stream that starts with E-AC-3 takes its main values from that frame.
                    a.fscod = frame.fscod;
                    a.acmod = frame.acmod;
                    a.bsid = frame.bsid;
                    a.bsmod = frame.bsmod;
                    a.compre = frame.compre;
                    a.dsurmod = frame.dsurmod;
                    buffer.Close();
                    return true;
                }
            }
        }
        buffer.Close();
        return a.legacyCore == 1 || a.substream0_flag == 1;
    } catch (...) {
        return false;
    }
}

bool CAc3Es::ReadHeader(uint8_t* header) {
    const uint8_t* data = nullptr;
    if (m_reader.PeekBuffered(&data) >= kHeaderBytes) {
        std::memcpy(header, data, kHeaderBytes);
        m_reader.ConsumeBuffered(kHeaderBytes);
        return true;
    }
    return m_reader.Read(header, kHeaderBytes) == kHeaderBytes;
}

namespace {

// bsid values of AC-3 frames the scan accepts, as bits of a mask (bsid has five bits).
constexpr uint32_t ScanBsidMask() {
    uint32_t mask = 0;
    for (uint8_t bsid : kScanBsids) mask |= uint32_t{1} << bsid;
    return mask;
}

// What the scan takes from the 7 head bytes of a sync frame.
struct ScanFrame {
    uint32_t bytes = 0;
    uint8_t itemType = 0;
    bool dependent = false;
};

// False for a head the scan refuses: a wrong sync word, a bsid other than 4, 6, 8 or 16, a strmtyp above 1,
// an AC-3 fscod other than 0 (48 kHz) or reserved frame-size code, an E-AC-3 frame shorter than its head.
inline bool DecodeHeader(const uint8_t* header, ScanFrame& frame) {
    if (header[0] != kSyncByte0 || header[1] != kSyncByte1) return false;
    const uint8_t bsid = header[5] >> 3;
    uint32_t words = 0;
    frame.itemType = 0;
    frame.dependent = false;
    if (bsid == kEnhancedBsid) {
        const uint8_t strmtyp = header[2] >> 6;
        if (strmtyp > kStreamTypeDependent) return false;
        words = ((static_cast<uint32_t>(header[2] & 7) << 8) | header[3]) + 1;
        if (2 * words < kHeaderBytes) return false;
        frame.dependent = strmtyp == kStreamTypeDependent;
        if (frame.dependent) frame.itemType = static_cast<uint8_t>(((header[2] >> 3) & 7) + 1);
    } else {
        if (((ScanBsidMask() >> bsid) & 1) == 0) return false;
        if ((header[4] >> 6) != 0) return false;
        words = LegacyFrameWords(0, header[4] & 0x3F);
        if (words == 0) return false;
    }
    frame.bytes = 2 * words;
    return true;
}

}  // namespace

// Reads the 7 head bytes of each sync frame and skips the rest; a header that does not fit ends the scan
// with false and no terminating item. Frames wholly in the reader's buffer are taken from there in one
// run, the reader moved past them once; a frame that runs past the buffered bytes is read and skipped.
bool CAc3Es::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (startPtsList.empty()) Throw(error_code::kStreamContent, messages::kStartPtsNotSet, "", __LINE__);
    CAudioItemLoop loop(*this, startPtsList[0] - kPtsStep);
    // A null path is named "(null)" by Format.
    if (kivPath == nullptr || !loop.Create(kivPath)) {
        Throw(error_code::kOpenOther, messages::kFileOpenError, kivPath, __LINE__);
    }
    // Frames of a dependent substream keep the time stamp of the frame before them.
    const auto write = [&](const ScanFrame& frame) {
        if (!frame.dependent) loop.AdvancePts(kPtsStep);
        if (!loop.WriteUnit(frame.itemType, frame.bytes)) {
            Throw(error_code::kAnalyserWrite, messages::kWriteError, kivPath, __LINE__);
        }
    };
    const int64_t position = m_reader.Tell();
    ScanFrame frame;
    for (;;) {
        const uint8_t* data = nullptr;
        const uint32_t buffered = m_reader.PeekBuffered(&data);
        uint32_t used = 0;
        while (buffered - used >= kHeaderBytes) {
            if (!DecodeHeader(data + used, frame)) {
                m_reader.ConsumeBuffered(used + kHeaderBytes);  // where reading the head would leave it
                return false;
            }
            if (frame.bytes > buffered - used) break;
            used += frame.bytes;
            write(frame);
        }
        m_reader.ConsumeBuffered(used);
        uint8_t header[kHeaderBytes];
        if (!ReadHeader(header)) break;
        if (!DecodeHeader(header, frame)) return false;
        // A truncated last frame is dropped.
        if (m_reader.Skip(frame.bytes - kHeaderBytes) < frame.bytes - kHeaderBytes) break;
        write(frame);
    }
    m_reader.Seek(position, 0);
    loop.AdvancePts(kPtsStep);
    if (!loop.WriteEnd()) Throw(error_code::kAnalyserWrite, messages::kWriteError, kivPath, __LINE__);
    return true;
}

// 0 for an invalid combination; else 1 mono, 3 stereo or 6 multi-channel.
uint8_t CAc3Es::CheckChannelCombination(const Attributes& a) {
    const uint32_t core = CodingModeChannels(a.acmod, a.lfeon);
    const uint32_t substream =
        a.chanmape == 1 ? a.chanmap : CodingModeChannels(a.substreamAcmod, a.substreamLfeon);
    if (a.legacyCore == 0 && a.substream0_flag == 0) return kChannelsInvalid;
    if (a.legacyCore == 0 || a.substream0_flag == 0) {
        return ChannelSetResult(ChannelCode(a.legacyCore == 1 ? core : substream));
    }
    const int coreCode = ChannelCode(core);
    if (coreCode == 0 || coreCode == kMonoCode || coreCode == kStereoCode) return kChannelsInvalid;
    return IsMultiChannelCode(ChannelCode(core | substream)) ? kChannelsMulti : kChannelsInvalid;
}

void CAc3Es::GetReportText(CL_CString& out) {
    const Attributes& a = m_attributes;
    if (CheckChannelCombination(a) == kChannelsInvalid) {
        out.Append(kReportSeparator);
        out.Append(kReportChannelsInvalid);
        out.Append(kReportSeparator);
        out.Append(kReportEmptyLine);
    }
    AppendReportFlag(out, kLabelLegacyCore, a.legacyCore == 1);
    if (a.legacyCore == 1) {
        AppendReportValue(out, kLabelFscod, a.fscod);
        AppendReportValue(out, kLabelFrmsizecod, a.frmsizecod);
        AppendReportValue(out, kLabelBsid, a.bsid);
        AppendReportValue(out, kLabelBsmod, a.bsmod);
        AppendReportValue(out, kLabelAcmod, a.acmod);
        AppendReportValue(out, kLabelLfeon, a.lfeon);
        AppendReportValue(out, kLabelDsurmod, a.dsurmod);
        AppendReportValue(out, kLabelCompre, a.compre);
        AppendReportValue(out, kLabelLangcode, a.langcode);
        if (a.langcode == 1) AppendReportValue(out, kLabelLangcod, a.langcod);
        AppendReportValue(out, kLabelAudprodie, a.audprodie);
        AppendReportValue(out, kLabelCompr2e, a.compr2e);
        AppendReportValue(out, kLabelLangcod2e, a.langcod2e);
        if (a.langcod2e == 1) AppendReportValue(out, kLabelLangcod2, a.langcod2);
        AppendReportValue(out, kLabelFullSvc, a.fullSvc);
    }
    out.Append(kReportEmptyLine);
    AppendReportFlag(out, kLabelSubstream0, a.substream0_flag == 1);
    if (a.substream0_flag == 1) {
        AppendReportValue(out, kLabelFscod, a.substreamFscod);
        AppendReportValue(out, kLabelAcmod, a.substreamAcmod);
        AppendReportValue(out, kLabelLfeon, a.substreamLfeon);
        AppendReportValue(out, kLabelChanmape, a.chanmape);
        if (a.chanmape == 1) AppendReportValue(out, kLabelChanmap, a.chanmap);
    }
}

// dsurmod is always written as 0; bit_rate_code is frmsizecod halved.
void CAc3Es::GetXmlText(CL_CString& out) {
    const Attributes& a = m_attributes;
    out.Format(kXmlFormat, kXmlDeclaration, kXmlNamespace, a.fscod, a.bsid, a.frmsizecod / 2, 0, a.bsmod, a.acmod,
               a.lfeon, a.fullSvc, a.langcod, a.langcod2, a.substream0_flag, a.substreamFscod, a.substreamAcmod,
               a.substreamLfeon);
}

}  // namespace es
}  // namespace ts_comp
