// Analyser of AC-3, E-AC-3 and AC-3 core plus E-AC-3 dependent-substream streams.
#pragma once

#include <cstdint>
#include <vector>

#include "es/audio/CAudioEs.h"

namespace ts_comp {
namespace es {

// Reads the attributes of the first sync frames on construction and writes one audio item per sync frame.
class CAc3Es : public CAudioEs {
public:
    // Attributes kept from the first frames for the report and the XML document.
    struct Attributes {
        uint8_t legacyCore = 0;
        uint8_t fscod = 0;
        uint8_t frmsizecod = 0;
        uint8_t bsid = 0;
        uint8_t bsmod = 0;
        uint8_t acmod = 0;
        uint8_t lfeon = 0;
        uint8_t dsurmod = 0;
        uint8_t compre = 0;
        uint8_t langcode = 0;
        uint8_t langcod = 255;
        uint8_t audprodie = 0;
        uint8_t compr2e = 0;
        uint8_t langcod2e = 0;
        uint8_t langcod2 = 255;
        uint8_t fullSvc = 0;
        uint8_t substream0_flag = 0;
        uint8_t substreamFscod = 0;
        uint8_t substreamAcmod = 0;
        uint8_t substreamLfeon = 0;
        uint8_t chanmape = 0;
        uint16_t chanmap = 0;
    };

    // Throws CTsMuxException (code 15) for a file below 192 bytes or a head that does not parse.
    explicit CAc3Es(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CAc3Es() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

    const Attributes& GetAttributes() const { return m_attributes; }

private:
    bool ParseAttributes();
    static uint8_t CheckChannelCombination(const Attributes& attributes);
    // Reads the next 7-byte frame head; false at the end of the file.
    bool ReadHeader(uint8_t* header);

    Attributes m_attributes;
};

}  // namespace es
}  // namespace ts_comp
