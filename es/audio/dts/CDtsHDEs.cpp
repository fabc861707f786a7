#include "es/audio/dts/CDtsHDEs.h"

#include <algorithm>
#include <cstring>

#include "es/audio/AudioReport.h"
#include "es/audio/CAudioItemLoop.h"
#include "es/audio/IsMultiChannelCode.h"
#include "es/audio/dts/CCoreFrameHeader.h"
#include "es/audio/dts/CExtensionSubstream.h"
#include "es/audio/dts/DtsConstants.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "input/CBinaryBuffer.h"
#include "input/CBitView.h"
#include "input/CBitViewOfBytes.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace dts;
using namespace dts_analyser;

namespace {

uint32_t BigEndianWord(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

bool IsSyncWord(uint32_t word) { return word == kCoreSync || word == kExtensionSubstreamSync; }

// The word at the byte position FindNextSync left.
uint32_t PeekWord(CBinaryBuffer& buffer) {
    const uint8_t* data = nullptr;
    if (buffer.PeekBuffered(&data) >= kSyncBytes) return BigEndianWord(data);
    uint64_t word = 0;
    buffer.PeekBits(&word, 32);
    return static_cast<uint32_t>(word);
}

}  // namespace

CDtsHDEs::CDtsHDEs(const CL_CString& esPath) : CAudioEs(esPath, kSourceDtsHDEs) {
    uint8_t head[kMinimumFileSize] = {};
    ReadHead(head, kMinimumFileSize);
    if (!ParseAttributes(head)) {
        const bool metadata = std::memcmp(head, kMetadataMarker, sizeof kMetadataMarker - 1) == 0;
        ThrowUnusable(metadata ? messages::kDtshdContainsMetadata : messages::kEsAttributeInvalid, __LINE__);
    }
}

CDtsHDEs::~CDtsHDEs() = default;

// The first core frame and the first extension substream, through a bit buffer of its own; a file that ends
// inside either gives false.
bool CDtsHDEs::ParseAttributes(const uint8_t* head) {
    if (!IsSyncWord(BigEndianWord(head))) return false;
    CL_CString path;
    GetEsFilePath(path);
    CBinaryBuffer buffer;
    if (!buffer.Open(path.GetString())) return false;
    Attributes& a = m_attributes;
    try {
        for (int pass = 0; pass < kAttributePasses; ++pass) {
            if (!FindNextSync(buffer)) return false;
            if (PeekWord(buffer) == kCoreSync) {
                if (pass > 0) return true;
                a.core = 1;
                CCoreFrameHeader frame;
                if (!frame.ParseFrame(buffer)) return false;
                a.AMODE = static_cast<uint8_t>(frame.AMODE);
                a.SFREQ = static_cast<uint8_t>(frame.SFREQ);
                a.EXT_AUDIO = frame.EXT_AUDIO;
                a.EXT_AUDIO_ID = frame.EXT_AUDIO_ID;
                a.LFF = frame.LFF;
            } else {
                CExtensionSubstream substream;
                if (!substream.Parse(buffer)) return false;
                a.extension_substream_flag = 1;
                a.extensionSubStreamSync = substream.extensionSubStreamSync;
                a.nTotalNumCHs = substream.header.assets[0].nTotalNumCHs;
                a.nMaxSampleRate = substream.header.assets[0].nMaxSampleRate;
                a.nuSpkrActivityMask = substream.header.assets[0].nuSpkrActivityMask;
                return true;
            }
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        return false;
    }
    return true;
}

// Scans the buffered bytes a word at a time; only a window that ends inside a possible sync word is looked at
// across its end, one byte at a time.
bool CDtsHDEs::FindNextSync(CBinaryBuffer& buffer) {
    for (;;) {
        const uint8_t* data = nullptr;
        const uint32_t count = buffer.PeekBuffered(&data);
        if (count < kSyncBytes) {
            uint8_t word[kSyncBytes];
            if (buffer.PeekBytes(word, kSyncBytes) < kSyncBytes) return false;
            if (IsSyncWord(BigEndianWord(word))) return true;
            buffer.SkipBytes(1);
            continue;
        }
        const uint32_t candidates = count - kSyncBytes + 1;
        for (uint32_t i = 0; i < candidates; ++i) {
            if (IsSyncWord(BigEndianWord(data + i))) {
                buffer.ConsumeBuffered(i);
                return true;
            }
        }
        buffer.ConsumeBuffered(candidates);
    }
}

// The word at the view's position first: units mostly follow each other without a gap.
bool CDtsHDEs::FindNextSync(CBinaryBuffer& buffer, CBitView& view, uint32_t& word) {
    uint64_t bits = 0;
    if (view.Peek(&bits, 32) == 32 && IsSyncWord(static_cast<uint32_t>(bits))) {
        word = static_cast<uint32_t>(bits);
        return true;
    }
    return ScanForSync(buffer, view, word);
}

bool CDtsHDEs::ScanForSync(CBinaryBuffer& buffer, CBitView& view, uint32_t& word) {
    view.Release();
    const bool found = FindNextSync(buffer);
    if (found) word = PeekWord(buffer);
    view.Resume();
    return found;
}

// Core frames advance their time stamp before their item, extension substreams after theirs, so both units of
// an access unit carry the same time stamp. Units must follow each other without a gap. Units that lie wholly
// in the buffered bytes, each right after the one before, are read from there in one run; the others, and
// units near the end of the file, through the view.
bool CDtsHDEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (startPtsList.empty()) Throw(error_code::kStreamContent, messages::kStartPtsNotSet, "", __LINE__);
    if (kivPath == nullptr) return false;
    CAudioItemLoop loop(*this, startPtsList[0]);
    if (!loop.Create(kivPath)) Throw(error_code::kOpenOther, messages::kFileOpenError, kivPath, __LINE__);
    CL_CString esPath;
    GetEsFilePath(esPath);
    CBinaryBuffer buffer;
    if (!buffer.Open(esPath.GetString())) {
        Throw(error_code::kOpenOther, messages::kOpenError, esPath.GetString(), __LINE__);
    }
    uint64_t corePts = startPtsList[0] - kPtsStep;
    uint64_t extensionPts = startPtsList[0];
    uint64_t extensionStep = kPtsStep;
    uint32_t coreCount = 0;
    uint32_t extensionCount = 0;
    int64_t expected = buffer.Tell();
    const int64_t fileSize = buffer.GetSize();
    // One frame and one substream record serve every unit: each parse sets what the item takes.
    CCoreFrameHeader frame;
    CExtensionSubstream substream;
    const auto write = [&](bool core) __attribute__((always_inline)) {
        uint32_t itemSize = 0;
        uint8_t itemType = 0;
        if (core) {
            ++coreCount;
            corePts += kPtsStep;
            itemSize = frame.FSIZE + 1;
            loop.SetPts(corePts);
        } else {
            ++extensionCount;
            itemSize = substream.header.nuExtSSFsize;
            itemType = 1;
            loop.SetPts(extensionPts);
            const uint32_t duration = substream.header.GetFrameDuration();
            if (duration != 0) extensionStep = duration;
            extensionPts += extensionStep;
        }
        if (!loop.WriteUnit(itemType, itemSize)) {
            Throw(error_code::kAnalyserWrite, messages::kWriteError, kivPath, __LINE__);
        }
    };
    // The units are read through one view of the buffer.
    CBitView view(buffer);
    uint32_t word = 0;
    bool found = FindNextSync(buffer, view, word);
    while (found) {
        const int64_t position = view.Tell();
        if (position != expected) {
            CL_CString text;
            text.Format(kMsgStuffing, expected);
            throw CTsMuxException(error_code::kStreamContent, text, kSourceDtsHDEs, __LINE__, "", "");
        }
        if (word == kCoreSync) {
            // Far from the end of the file the header cannot be cut off; the item needs FSIZE only.
            const bool far = fileSize - position >= kCoreHeaderBytes;
            if (!(far ? frame.PassOver(view) : frame.ParseFrame(view))) return false;
        } else if (fileSize - position >= kMostExtensionHeaderBytes) {
            // Far from the end no field can be cut off either; the item needs the sizes and duration.
            substream.PassOver(view);
        } else {
            try {
                if (!substream.Parse(view)) return false;
            } catch (const CBinaryBuffer::BinaryBufferException&) {
                CL_CString text;
                text.Format(kMsgExtensionCutOff, position);
                m_errorMessage = text;
                return false;
            }
        }
        write(word == kCoreSync);
        // What PassOver reads, straight from the buffered bytes: a unit that runs past them, or an extension
        // substream near the end of the file, is left to the view.
        const uint8_t* data = nullptr;
        const uint32_t buffered = view.Buffered(&data);
        const int64_t start = view.Tell();
        uint32_t used = 0;
        while (buffered - used >= kBufferedHeadBytes) {
            const uint8_t* unit = data + used;
            const uint32_t sync = BigEndianWord(unit);
            CBitViewOfBytes in(unit);
            uint32_t size = 0;
            if (sync == kCoreSync) {
                frame.ParseSize(in);
                size = frame.FSIZE + 1;
            } else if (sync == kExtensionSubstreamSync && fileSize - (start + used) >= kMostExtensionHeaderBytes) {
                substream.header.ParseSizes(in);
                size = substream.header.nuExtSSFsize;
            } else {
                break;
            }
            if (size > buffered - used) break;
            used += size;
            write(sync == kCoreSync);
        }
        view.Skip(used);
        expected = view.Tell();
        found = FindNextSync(buffer, view, word);
        if (!found && coreCount != 0 && extensionCount != 0 && coreCount != extensionCount) {
            CL_CString text;
            text.Format(kMsgFrameCounts, coreCount, extensionCount);
            throw CTsMuxException(error_code::kStreamContent, text, kSourceDtsHDEs, __LINE__, "", "");
        }
    }
    loop.SetPts(std::max(corePts + kPtsStep, extensionPts));
    return loop.WriteEnd();
}

uint8_t CDtsHDEs::CheckChannelCombination(const Attributes& a) {
    const int channels = a.AMODE < 16 ? kCoreChannels[a.AMODE] : 0;
    const int coreCode = kMonoCode * channels + ((a.LFF == 1 || a.LFF == 2) ? 1 : 0);
    const int extension = a.nTotalNumCHs & 0xFF;
    if (a.core == 0) return a.extension_substream_flag == 0 ? kChannelsInvalid : ChannelSetResult(extension);
    if (a.extension_substream_flag == 0) return ChannelSetResult(coreCode);
    if (coreCode == kMonoCode && extension == kMonoCode) return kChannelsMono;
    if (coreCode == kStereoCode && extension == kStereoCode) return kChannelsStereo;
    if (IsMultiChannelCode(coreCode)) {
        return IsMultiChannelCode(extension) ? kChannelsMulti : kChannelsInvalid;
    }
    return coreCode == kStereoCode && IsMultiChannelCode(extension) ? kChannelsStereoPlusMulti : kChannelsInvalid;
}

void CDtsHDEs::GetReportText(CL_CString& out) {
    const Attributes& a = m_attributes;
    AppendReportFlag(out, kLabelLegacyCore, a.core == 1);
    if (a.core == 1) {
        AppendReportValue(out, kLabelAmode, a.AMODE, a.AMODE == 1 || a.AMODE > 9);
        AppendReportValue(out, kLabelSfreq, a.SFREQ, kCoreSamplingFrequency[a.SFREQ & 15] == 0);
        AppendReportValue(out, kLabelExtAudio, a.EXT_AUDIO);
        if (a.EXT_AUDIO == 1) {
            const bool known = a.EXT_AUDIO_ID == 0 || a.EXT_AUDIO_ID == 2 || a.EXT_AUDIO_ID == 6;
            AppendReportValue(out, kLabelExtAudioId, a.EXT_AUDIO_ID, !known);
        }
        AppendReportValue(out, kLabelLff, a.LFF, a.LFF == 3);
    }
    AppendReportFlag(out, kLabelExtensionSubstream, a.extension_substream_flag == 1);
    if (a.extension_substream_flag == 1) {
        CL_CString line;
        line.Format(kReportSyncLineFormat, a.extensionSubStreamSync);
        out.Append(line);
        AppendReportValue(out, kLabelTotalChannels, a.nTotalNumCHs);
        AppendReportValue(out, kLabelMaxSampleRate, a.nMaxSampleRate);
        AppendReportValue(out, kLabelSpeakerMask, static_cast<int32_t>(a.nuSpkrActivityMask));
    }
    if (CheckChannelCombination(a) == kChannelsInvalid) {
        out.Append(kReportEmptyLine);
        out.Append(kReportSeparator);
        out.Append(kReportChannelsInvalid);
        out.Append(kReportSeparator);
    }
    if (a.extension_substream_flag == 1 && (a.nTotalNumCHs & 0xFF) >= kOverSevenOneChannels) {
        out.Append(kReportEmptyLine);
        out.Append(kReportSeparator);
        out.Append(kReportOverSevenOne);
        out.Append(kReportSeparator);
    }
}

// The extension block is written whatever the flag says.
void CDtsHDEs::GetXmlText(CL_CString& out) {
    const Attributes& a = m_attributes;
    out.Format(kXmlFormat, kXmlDeclaration, kXmlNamespace, a.AMODE, a.SFREQ, a.EXT_AUDIO, a.EXT_AUDIO_ID, a.LFF,
               a.extension_substream_flag, a.extensionSubStreamSync, a.nTotalNumCHs, a.nMaxSampleRate,
               static_cast<int32_t>(a.nuSpkrActivityMask));
}

}  // namespace es
}  // namespace ts_comp
