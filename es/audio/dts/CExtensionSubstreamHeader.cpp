#include "es/audio/dts/CExtensionSubstreamHeader.h"

#include "input/CBitView.h"

namespace ts_comp {
namespace es {
namespace dts {

CExtensionSubstreamHeader::CAudioAssetDescriptor::~CAudioAssetDescriptor() = default;

bool CExtensionSubstreamHeader::CAudioAssetDescriptor::Parse(CBitView& view, bool staticFieldsPresent) {
    auto bits = [&view](uint32_t count) { return static_cast<uint32_t>(view.Bits(count)); };
    bits(9 + 3);  // nuAssetDescriptFsize, nuAssetIndex
    if (!staticFieldsPresent) return true;
    if (bits(1)) bits(4);    // bAssetTypeDescrPresent: nuAssetTypeDescriptor
    if (bits(1)) bits(24);   // bLanguageDescrPresent: LanguageDescriptor
    if (bits(1)) {           // bInfoTextPresent
        const uint32_t textBytes = bits(10) + 1;
        for (uint32_t i = 0; i < textBytes; ++i) bits(8);
    }
    CBitView::Fields f = view.Read(5 + 4 + 8 + 1);
    f.Take(5);  // nuBitResolution
    nMaxSampleRate = static_cast<uint8_t>(f.Take(4));
    nTotalNumCHs = static_cast<uint16_t>(f.Take(8) + 1);
    if (f.Take(1)) {  // bOne2OneMapChannels2Speakers
        if (nTotalNumCHs > 2) bits(1);  // bEmbeddedStereoFlag
        if (nTotalNumCHs > 6) bits(1);  // bEmbeddedSixChFlag
        if (bits(1)) {                  // bSpkrMaskEnabled
            const uint32_t maskBits = (bits(2) + 1) * 4;
            nuSpkrActivityMask = bits(maskBits);
        }
    }
    return true;
}

CExtensionSubstreamHeader::~CExtensionSubstreamHeader() = default;

bool CExtensionSubstreamHeader::Parse(CBinaryBuffer& buffer) {
    CBitView view(buffer);
    return Parse(view);
}

bool CExtensionSubstreamHeader::Parse(CBitView& view) {
    auto bits = [&view](uint32_t count) { return static_cast<uint32_t>(view.Bits(count)); };
    ParseSizes(view);
    // Without static fields the header describes one asset.
    nuNumAssets = 1;
    if (bStaticFieldsPresent) {
        if (bTimeStampFlag) bits(32 + 4);  // nuTimeStamp, nLSB
        CBitView::Fields counts = view.Read(3 + 3);
        const auto presentations = static_cast<uint32_t>(counts.Take(3) + 1);
        nuNumAssets = static_cast<uint8_t>(counts.Take(3) + 1);
        uint32_t activeSubstreams[kMaxAssets] = {};
        for (uint32_t p = 0; p < presentations; ++p) activeSubstreams[p] = bits(nExtSSIndex + 1u);
        for (uint32_t p = 0; p < presentations; ++p) {
            for (uint32_t ss = 0; ss <= nExtSSIndex; ++ss) {
                if ((activeSubstreams[p] >> ss) & 1u) bits(8);  // nuActiveAssetMask
            }
        }
        if (bits(1)) {  // bMixMetadataEnbl
            bits(2);    // nuMixMetadataAdjLevel
            const uint32_t maskBits = (bits(2) + 1) * 4;
            const uint32_t configurations = bits(2) + 1;
            for (uint32_t c = 0; c < configurations; ++c) bits(maskBits);  // nuMixOutChMask
        }
    }
    for (uint32_t a = 0; a < nuNumAssets; ++a) bits(kSubstreamSizeBits[bHeaderSizeType]);  // nuAssetFsize
    for (uint32_t a = 0; a < nuNumAssets; ++a) {
        if (!assets[a].Parse(view, bStaticFieldsPresent != 0)) return false;
    }
    return true;
}

// Each clock divides as a constant, which takes a multiplication instead of a division.
uint32_t CExtensionSubstreamHeader::GetFrameDuration() const {
    if (!bStaticFieldsPresent) return 0;
    const uint64_t ticks = uint64_t{nuExSSFrameDuration} * kTicksPerSecond;
    switch (nuRefClockCode & 3) {
        case 0: return static_cast<uint32_t>(ticks / kReferenceClock[0]);
        case 1: return static_cast<uint32_t>(ticks / kReferenceClock[1]);
        case 2: return static_cast<uint32_t>(ticks / kReferenceClock[2]);
        default: return 0;
    }
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
