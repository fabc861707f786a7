// Analyser of DTS streams: core frames, DTS-HD extension substreams, or both interleaved.
#pragma once

#include <cstdint>
#include <vector>

#include "es/audio/CAudioEs.h"

namespace ts_comp {
class CBinaryBuffer;
class CBitView;
namespace es {

// Reads the attributes of the first core frame and extension substream on construction and writes one audio
// item per core frame and per extension substream.
class CDtsHDEs : public CAudioEs {
public:
    // Attributes kept for the report and the XML document.
    struct Attributes {
        uint8_t core = 0;
        uint8_t AMODE = 0;
        uint8_t SFREQ = 0;
        uint8_t EXT_AUDIO = 0;
        uint8_t EXT_AUDIO_ID = 0;
        uint8_t LFF = 0;
        uint8_t extension_substream_flag = 0;
        uint32_t extensionSubStreamSync = 0;
        uint16_t nTotalNumCHs = 0;
        uint8_t nMaxSampleRate = 0;
        uint32_t nuSpkrActivityMask = 0;
    };

    // Throws CTsMuxException (code 15) for a file below 192 bytes or a head that does not parse.
    explicit CDtsHDEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CDtsHDEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

    const Attributes& GetAttributes() const { return m_attributes; }

private:
    // 0 invalid, 1 mono, 3 stereo, 6 multi-channel, 12 stereo core with a multi-channel extension.
    static uint8_t CheckChannelCombination(const Attributes& attributes);
    bool ParseAttributes(const uint8_t* head);
    // Positions the buffer on the next core or extension sync word; false when none is left.
    static bool FindNextSync(CBinaryBuffer& buffer);
    // The same for a scan that reads through a view of the buffer; word becomes the sync word found.
    static bool FindNextSync(CBinaryBuffer& buffer, CBitView& view, uint32_t& word);
    // Its part for a word that is not a sync word or not buffered: the buffer's own scan.
    static bool ScanForSync(CBinaryBuffer& buffer, CBitView& view, uint32_t& word);

    Attributes m_attributes;
};

}  // namespace es
}  // namespace ts_comp
