// Fields of a DTS core frame header.
#pragma once

#include <cstdint>

namespace ts_comp {
class CBinaryBuffer;
class CBitView;
namespace es {
namespace dts {

// Parses the core frame header, and passes over a whole core frame.
class CCoreFrameHeader {
public:
    // Reads the header at the buffer position; a header cut off by the end of the file prints
    // "file read error %s\n" on standard output and gives false.
    bool Parse(CBinaryBuffer& buffer);
    bool Parse(CBitView& view);
    // Parses the header and leaves the buffer after the frame's FSIZE + 1 bytes; false when the header does
    // not parse or the file ends inside the frame.
    bool ParseFrame(CBinaryBuffer& buffer);
    bool ParseFrame(CBitView& view);
    // ParseFrame reading the header only through FSIZE. Where the file holds kCoreHeaderBytes from the
    // view's position on, the header cannot be cut off, and the result and the position after it are those
    // of ParseFrame.
    bool PassOver(CBitView& view);
    // Reads SYNC through FSIZE from a CBitView or a CBitViewOfBytes.
    template <class Reader>
    void ParseSize(Reader& in) {
        SYNC = static_cast<uint32_t>(in.Bits(32));
        auto f = in.Read(28);
        FTYPE = static_cast<uint32_t>(f.Take(1));
        SHORT = static_cast<uint32_t>(f.Take(5));
        CPF = static_cast<uint32_t>(f.Take(1));
        NBLKS = static_cast<uint32_t>(f.Take(7));
        FSIZE = static_cast<uint32_t>(f.Take(14));
    }

    uint32_t SYNC = 0;
    uint32_t FTYPE = 0;
    uint32_t SHORT = 0;
    uint32_t CPF = 0;
    uint32_t NBLKS = 0;
    uint32_t FSIZE = 0;
    uint32_t AMODE = 0;
    uint32_t SFREQ = 0;
    uint8_t RATE = 0;
    uint8_t FixedBit = 0;
    uint8_t DYNF = 0;
    uint8_t TIMEF = 0;
    uint8_t AUXF = 0;
    uint8_t HDCD = 0;
    uint8_t EXT_AUDIO_ID = 0;
    uint8_t EXT_AUDIO = 0;
    uint8_t ASPF = 0;
    uint8_t LFF = 0;

private:
    bool PassFrame(CBitView& view, bool wholeHeader);
};

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
