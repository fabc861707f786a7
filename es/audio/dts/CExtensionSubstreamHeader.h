// Fields of a DTS-HD extension substream header and its audio asset descriptors.
#pragma once

#include <cstdint>

#include "es/audio/dts/DtsConstants.h"

namespace ts_comp {
class CBinaryBuffer;
class CBitView;
namespace es {
namespace dts {

// Parses the header from its sync word through the last asset descriptor.
class CExtensionSubstreamHeader {
public:
    // The part of one asset descriptor that the analyser keeps.
    class CAudioAssetDescriptor {
    public:
        virtual ~CAudioAssetDescriptor();
        // Reads the descriptor; the static fields only when the header has them. A read past the end of the
        // file throws the bit buffer's exception.
        bool Parse(CBitView& view, bool staticFieldsPresent);

        uint8_t nMaxSampleRate = 0;
        uint16_t nTotalNumCHs = 0;
        uint32_t nuSpkrActivityMask = 0;
    };

    virtual ~CExtensionSubstreamHeader();
    // Reads the header at the buffer position and leaves the buffer after the last descriptor read. A header
    // without static fields describes one asset. A read past the end of the file throws the bit buffer's
    // exception.
    bool Parse(CBinaryBuffer& buffer);
    bool Parse(CBitView& view);
    // Reads the fields from the sync word through bTimeStampFlag: the sizes and the frame duration, where
    // Parse goes on with the rest. Reads through a CBitView or a CBitViewOfBytes.
    template <class Reader>
    void ParseSizes(Reader& in) {
        auto head = in.Read(32 + 8 + 2 + 1);
        head.Take(32);  // SYNCEXTSSH
        head.Take(8);   // UserDefinedBits
        nExtSSIndex = static_cast<uint8_t>(head.Take(2));
        bHeaderSizeType = static_cast<uint8_t>(head.Take(1));
        const uint32_t headerSizeBits = kHeaderSizeBits[bHeaderSizeType];
        const uint32_t substreamSizeBits = kSubstreamSizeBits[bHeaderSizeType];
        auto sizes = in.Read(headerSizeBits + substreamSizeBits + 1);
        nuExtSSHeaderSize = static_cast<uint32_t>(sizes.Take(headerSizeBits)) + 1;
        nuExtSSFsize = static_cast<uint32_t>(sizes.Take(substreamSizeBits)) + 1;
        bStaticFieldsPresent = static_cast<uint8_t>(sizes.Take(1));
        if (bStaticFieldsPresent) {
            auto clock = in.Read(2 + 3 + 1);
            nuRefClockCode = static_cast<uint8_t>(clock.Take(2));
            nuExSSFrameDuration = static_cast<uint32_t>(clock.Take(3) + 1) * kFrameDurationUnit;
            bTimeStampFlag = static_cast<uint8_t>(clock.Take(1));
        }
    }
    // Duration of the substream in 90 kHz ticks; 0 without static fields or with the reserved clock code.
    uint32_t GetFrameDuration() const;

    uint8_t nuNumAssets = 0;
    uint8_t nExtSSIndex = 0;
    uint8_t bHeaderSizeType = 0;
    uint32_t nuExtSSHeaderSize = 0;
    uint32_t nuExtSSFsize = 0;
    uint8_t bStaticFieldsPresent = 0;
    uint8_t nuRefClockCode = 0;
    uint32_t nuExSSFrameDuration = 0;
    uint8_t bTimeStampFlag = 0;
    CAudioAssetDescriptor assets[kMaxAssets];
};

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
