#include "KindProbers.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "KivCreator.h"
#include "es/audio/ac3/Ac3Constants.h"
#include "es/audio/lpcm/LpcmConstants.h"
#include "es/graphics/segments/GspConstants.h"

namespace kivtool {

namespace {

using kiv_comp::CKivCreator;

// Bytes each unit check is given (fewer at the end of the file).
constexpr uint32_t kUnitHeaderBytes = 16;
// NAL units or BDUs looked at after the first start code.
constexpr uint32_t kStartCodeUnits = 64;
// NAL unit types shown in the reason.
constexpr uint32_t kShownNalTypes = 6;

constexpr uint8_t kMpeg2SequenceHeader = 0xB3;
constexpr uint8_t kVc1SequenceHeader = 0x0F;
constexpr uint8_t kVc1EntryPoint = 0x0E;
constexpr uint8_t kVc1Frame = 0x0D;
constexpr uint32_t kVc1AdvancedProfile = 3;

constexpr uint32_t kNalSps = 7;
constexpr uint32_t kNalPps = 8;
constexpr uint32_t kNalSubsetSps = 15;
constexpr uint32_t kNalDependentDelimiter = 24;
// NAL unit types a byte stream may open with: SEI, SPS, delimiter, subset SPS, dependent delimiter.
constexpr uint32_t kOpeningNalTypes[] = {6, kNalSps, 9, kNalSubsetSps, kNalDependentDelimiter};
constexpr uint32_t kAvcProfiles[] = {44, 66, 77, 83, 86, 88, 100, 110, 118, 122, 128, 244};
constexpr uint32_t kMvcProfiles[] = {118, 128};

constexpr uint8_t kDtsHdHeader[] = {'D', 'T', 'S', 'H', 'D', 'H', 'D', 'R'};
constexpr uint32_t kDtsCoreSync = 0x7FFE8001;
constexpr uint32_t kDtsSubstreamSync = 0x64582025;
// Smallest FSIZE of a core frame (96 bytes).
constexpr uint32_t kDtsMinimumFsize = 95;
constexpr uint32_t kMlpMajorSyncAt = 4;
constexpr uint32_t kMlpMajorSync = 0xF8726FBB;
constexpr uint32_t kTrueHdMajorSync = 0xF8726FBA;
constexpr uint32_t kDraSync = 0x7FFF;
constexpr uint32_t kMinimumEnhancedBsid = 11;

// `count` bits from bit `bit` of p, most significant first.
uint32_t Bits(const uint8_t* p, uint32_t bit, uint32_t count) {
    uint32_t value = 0;
    for (uint32_t i = bit; i < bit + count; ++i) value = (value << 1) | ((p[i / 8] >> (7 - i % 8)) & 1u);
    return value;
}

template <class T, std::size_t N>
bool OneOf(T value, const T (&set)[N]) {
    return std::find(set, set + N, value) != set + N;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Units back to back from byte 0, each header checked by `check` (which gives the unit's length), through
// the head and the first unit past it. Returns the units checked, or 0 when a header does not check out
// or a lone unit does not end with the file. A short tail after two units is the end of a cut stream.
template <class Check>
uint32_t WalkUnits(CStreamHead& stream, Check check) {
    uint64_t pos = 0;
    uint32_t units = 0;
    uint8_t header[kUnitHeaderBytes];
    while (pos < stream.Length()) {
        const uint32_t got = stream.Copy(pos, header, sizeof header);
        uint64_t length = 0;
        if (!check(header, got, length) || length == 0) {
            return got < kUnitHeaderBytes && pos + got == stream.Length() && units >= 2 ? units : 0;
        }
        ++units;
        if (pos >= stream.Size()) break;
        pos += length;
        if (pos > stream.Length()) return units >= 2 ? units : 0;
    }
    return units;
}

// Position of the byte after the next 00 00 01 at or after `from`, or `size` when there is none.
uint32_t NextStartCode(const uint8_t* d, uint32_t size, uint32_t from) {
    for (uint32_t i = from + 2; i < size;) {
        const void* one = std::memchr(d + i, 1, size - i);
        if (one == nullptr) break;
        i = static_cast<uint32_t>(static_cast<const uint8_t*>(one) - d);
        if (d[i - 1] == 0 && d[i - 2] == 0) return i + 1;
        ++i;
    }
    return size;
}

// Position of the byte after a start code that opens the file (zero bytes only before it), or 0.
uint32_t OpeningStartCode(const uint8_t* d, uint32_t size) {
    uint32_t zeros = 0;
    while (zeros < size && d[zeros] == 0) ++zeros;
    return zeros >= 2 && zeros + 1 < size && d[zeros] == 1 ? zeros + 1 : 0;
}

bool ProbeMpeg2(CStreamHead& s, std::string& why) {
    const uint8_t* d = s.Data();
    if (s.Size() < 12 || d[0] != 0 || d[1] != 0 || d[2] != 1 || d[3] != kMpeg2SequenceHeader) return false;
    const uint32_t width = Bits(d, 32, 12);
    const uint32_t height = Bits(d, 44, 12);
    const uint32_t frameRateCode = Bits(d, 60, 4);
    const uint32_t marker = Bits(d, 82, 1);
    if (width == 0 || height == 0 || frameRateCode == 0 || frameRateCode > 8 || marker != 1) return false;
    why = Format("sequence header at byte 0, %ux%u, frame_rate_code %u", width, height, frameRateCode);
    return true;
}

bool ProbeAvc(CStreamHead& s, std::string& why) {
    const uint8_t* d = s.Data();
    const uint32_t size = s.Size();
    uint32_t p = OpeningStartCode(d, size);
    if (p == 0) return false;
    std::vector<uint32_t> types;
    int spsType = -1;
    uint32_t profile = 0;
    for (; p < size && types.size() < kStartCodeUnits; p = NextStartCode(d, size, p)) {
        if ((d[p] & 0x80) != 0) return false;
        const uint32_t type = d[p] & 0x1Fu;
        types.push_back(type);
        if ((type == kNalSps || type == kNalSubsetSps) && spsType < 0 && p + 1 < size) {
            spsType = static_cast<int>(type);
            profile = d[p + 1];
        }
    }
    if (!OneOf(types[0], kOpeningNalTypes) || spsType < 0 ||
        std::find(types.begin(), types.end(), kNalPps) == types.end()) {
        return false;
    }
    const bool dependent = types[0] == kNalDependentDelimiter || spsType == static_cast<int>(kNalSubsetSps);
    if (!(dependent ? OneOf(profile, kMvcProfiles) : OneOf(profile, kAvcProfiles))) return false;
    std::string shown;
    for (uint32_t i = 0; i < types.size() && i < kShownNalTypes; ++i) {
        shown += (i == 0 ? "" : ", ") + std::to_string(types[i]);
    }
    why = dependent ? Format("MVC dependent view: NAL unit types %s, subset SPS profile_idc %u", shown.c_str(), profile)
                    : Format("byte stream with NAL unit types %s, SPS profile_idc %u", shown.c_str(), profile);
    return true;
}

bool ProbeVc1(CStreamHead& s, std::string& why) {
    const uint8_t* d = s.Data();
    const uint32_t size = s.Size();
    uint32_t p = OpeningStartCode(d, size);
    if (p == 0 || d[p] != kVc1SequenceHeader || p + 1 >= size || Bits(d + p + 1, 0, 2) != kVc1AdvancedProfile) {
        return false;
    }
    const uint32_t level = Bits(d + p + 1, 2, 3);
    for (uint32_t units = 0; units < kStartCodeUnits; ++units) {
        p = NextStartCode(d, size, p);
        if (p >= size || d[p] == kVc1Frame) return false;
        if (d[p] == kVc1EntryPoint) {
            why = Format("advanced-profile sequence header (level %u), entry-point header at byte %u", level, p - 3);
            return true;
        }
    }
    return false;
}

bool ProbeLpcm(CStreamHead& s, std::string& why) {
    namespace lpcm = ts_comp::es::hdmv_lpcm;
    uint8_t first[lpcm::kFrameHeaderSize] = {};
    bool haveFirst = false;
    const uint32_t frames = WalkUnits(s, [&](const uint8_t* h, uint32_t n, uint64_t& length) {
        if (n < lpcm::kFrameHeaderSize) return false;
        if (!haveFirst) {
            if (!OneOf(static_cast<uint8_t>(h[2] >> 4), lpcm::kAcceptedChannelAssignments) ||
                !OneOf(static_cast<uint8_t>(h[2] & 0x0F), lpcm::kAcceptedSamplingFrequencies) ||
                !OneOf(static_cast<uint8_t>(h[3] >> 6), lpcm::kAcceptedBitsPerSample)) {
                return false;
            }
            std::memcpy(first, h, sizeof first);
            haveFirst = true;
        }
        length = lpcm::kFrameHeaderSize + (uint32_t{h[0]} << 8 | h[1]);
        return h[0] == first[0] && h[1] == first[1] && h[2] == first[2] && (h[3] >> 6) == (first[3] >> 6);
    });
    if (frames == 0) return false;
    why = Format("%u frame headers alike: payload %u bytes, channel_assignment %u, sampling_frequency %u, "
                 "bits_per_sample %u",
                 frames, uint32_t{first[0]} << 8 | first[1], first[2] >> 4, first[2] & 0x0Fu, first[3] >> 6u);
    return true;
}

// Length of the AC-3 or E-AC-3 sync frame whose header is h (in stream byte order), or 0.
uint64_t DolbyFrameLength(const uint8_t* h, uint32_t n, bool& enhanced) {
    namespace dd = ts_comp::es::dolby_digital_audio;
    if (n < 6 || h[0] != dd::kSyncByte0 || h[1] != dd::kSyncByte1) return 0;
    const uint32_t bsid = h[5] >> 3;
    enhanced = bsid >= kMinimumEnhancedBsid;
    if (bsid <= dd::kMaxLegacyBsid) return 2ull * dd::LegacyFrameWords(h[4] >> 6, h[4] & 0x3Fu);
    if (!enhanced || bsid > dd::kEnhancedBsid || (h[2] >> 6) == 3) return 0;
    return 2ull * ((uint32_t{h[2]} & 7u) << 8 | h[3]) + 2;
}

bool ProbeDolby(CStreamHead& s, bool swapped, std::string& why) {
    bool legacy = false;
    bool enhanced = false;
    const uint32_t frames = WalkUnits(s, [&](const uint8_t* h, uint32_t n, uint64_t& length) {
        uint8_t ordered[kUnitHeaderBytes];
        for (uint32_t i = 0; i + 1 < n; i += 2) {
            ordered[i] = h[swapped ? i + 1 : i];
            ordered[i + 1] = h[swapped ? i : i + 1];
        }
        bool isEnhanced = false;
        length = DolbyFrameLength(ordered, n & ~1u, isEnhanced);
        (isEnhanced ? enhanced : legacy) |= length != 0;
        return length != 0;
    });
    if (frames == 0) return false;
    const char* kinds = legacy && enhanced ? "AC-3 and E-AC-3" : enhanced ? "E-AC-3" : "AC-3";
    why = swapped ? Format("%s sync frames in swapped byte order (0x770B), %u in a row: the stream's bytes are "
                           "swapped in pairs",
                           kinds, frames)
                  : Format("%s sync frames (0x0B77), %u in a row", kinds, frames);
    return true;
}

bool ProbeAc3(CStreamHead& s, std::string& why) {
    return ProbeDolby(s, false, why) || ProbeDolby(s, true, why);
}

bool ProbeDts(CStreamHead& s, std::string& why) {
    if (s.Size() >= sizeof kDtsHdHeader && std::memcmp(s.Data(), kDtsHdHeader, sizeof kDtsHdHeader) == 0) {
        why = "DTS-HD file with a metadata header (DTSHDHDR)";
        return true;
    }
    bool core = false;
    bool substream = false;
    const uint32_t units = WalkUnits(s, [&](const uint8_t* h, uint32_t n, uint64_t& length) {
        if (n < 10) return false;
        const uint32_t sync = Bits(h, 0, 32);
        if (sync == kDtsCoreSync) {
            const uint32_t fsize = Bits(h, 46, 14);
            length = fsize + 1ull;
            core = true;
            return fsize >= kDtsMinimumFsize;
        }
        if (sync != kDtsSubstreamSync) return false;
        const bool wide = Bits(h, 42, 1) == 1;
        length = Bits(h, 43 + (wide ? 12 : 8), wide ? 20 : 16) + 1ull;
        substream = true;
        return true;
    });
    if (units == 0) return false;
    const char* kinds = core && substream ? "core frames (0x7FFE8001) and extension substreams (0x64582025)"
                        : core            ? "core frames (0x7FFE8001)"
                                          : "extension substreams (0x64582025)";
    why = Format("%s, %u in a row", kinds, units);
    return true;
}

bool ProbeMlp(CStreamHead& s, std::string& why) {
    if (s.Size() < kMlpMajorSyncAt + 4) return false;
    const uint32_t sync = Bits(s.Data() + kMlpMajorSyncAt, 0, 32);
    if (sync != kMlpMajorSync && sync != kTrueHdMajorSync) return false;
    const uint32_t units = WalkUnits(s, [](const uint8_t* h, uint32_t n, uint64_t& length) {
        if (n < 2) return false;
        length = 2ull * Bits(h, 4, 12);
        return length >= 4;
    });
    if (units == 0) return false;
    why = Format("major sync (0x%08X) at byte 4, %u access units in a row", sync, units);
    return true;
}

bool ProbeDra(CStreamHead& s, std::string& why) {
    const uint32_t frames = WalkUnits(s, [](const uint8_t* h, uint32_t n, uint64_t& length) {
        if (n < 4 || Bits(h, 0, 16) != kDraSync) return false;
        length = 4ull * Bits(h, 17, Bits(h, 16, 1) == 0 ? 10 : 13);
        return true;
    });
    if (frames == 0) return false;
    why = Format("frames (0x7FFF) each as long as its header says, %u in a row", frames);
    return true;
}

// PG and IG: segments back to back, the composition segment of the kind first.
bool ProbeGraphics(CStreamHead& s, uint8_t composition, std::string& why) {
    const uint8_t allowed[] = {gsp::kSegmentPDS, gsp::kSegmentODS, composition, gsp::kSegmentEND,
                               composition == gsp::kSegmentPCS ? gsp::kSegmentWDS : composition};
    bool first = true;
    const uint32_t segments = WalkUnits(s, [&](const uint8_t* h, uint32_t n, uint64_t& length) {
        if (n < 3 || (first ? h[0] != composition : !OneOf(h[0], allowed))) return false;
        first = false;
        length = 3 + (uint32_t{h[1]} << 8 | h[2]);
        return true;
    });
    if (segments == 0) return false;
    why = Format("%u segments in a row, %s first", segments, composition == gsp::kSegmentPCS ? "PCS" : "ICS");
    return true;
}

bool ProbePg(CStreamHead& s, std::string& why) {
    return ProbeGraphics(s, gsp::kSegmentPCS, why);
}

bool ProbeIg(CStreamHead& s, std::string& why) {
    return ProbeGraphics(s, gsp::kSegmentICS, why);
}

struct Prober {
    int type;
    bool (*probe)(CStreamHead&, std::string&);
};

constexpr Prober kProbers[] = {
    {CKivCreator::ES_TYPE_MPEG2_VIDEO, &ProbeMpeg2}, {CKivCreator::ES_TYPE_AVC_VIDEO, &ProbeAvc},
    {CKivCreator::ES_TYPE_VC1_VIDEO, &ProbeVc1},     {CKivCreator::ES_TYPE_HDMV_LPCM, &ProbeLpcm},
    {CKivCreator::ES_TYPE_AC3, &ProbeAc3},           {CKivCreator::ES_TYPE_DTS, &ProbeDts},
    {CKivCreator::ES_TYPE_MLP, &ProbeMlp},           {CKivCreator::ES_TYPE_DRA, &ProbeDra},
    {CKivCreator::ES_TYPE_PG, &ProbePg},             {CKivCreator::ES_TYPE_IG, &ProbeIg},
};

}  // namespace

std::vector<KindMatch> RunProbers(CStreamHead& stream) {
    std::vector<KindMatch> matches;
    for (const Prober& p : kProbers) {
        std::string why;
        if (p.probe(stream, why)) matches.push_back({p.type, why});
    }
    return matches;
}

}  // namespace kivtool
