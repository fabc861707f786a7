// Splits an AVC or MVC byte stream into NAL units and groups them into access units in stream order.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/avc/CAccessUintInformation.h"
#include "input/CBinaryBufferForAvc.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Start-code scans over raw file bytes, syntax reads without emulation-prevention bytes; keeps the
// data of the latest SPS or subset SPS for the slices and SEI units that follow it.
class CAvcVideoParser {
public:
    CAvcVideoParser() = default;
    CAvcVideoParser(const CAvcVideoParser&) = delete;
    CAvcVideoParser& operator=(const CAvcVideoParser&) = delete;
    virtual ~CAvcVideoParser();

    virtual bool Open(const char* path);
    // The next access unit, or none at the end of the file.
    virtual std::unique_ptr<CAccessUintInformation> GetNextAccessUnit();
    virtual int64_t Tell();
    // The next NAL unit, or none at the end of the file or when its parse fails.
    virtual std::unique_ptr<nal_unit> ReadNextNalUnit();
    // Leaves the file on the next start code (its last three or four bytes); false at the end of the file.
    virtual bool SkipToNextStartCode();
    // Passes the next start code; false at the end of the file.
    virtual bool FindStartCode(uint8_t& startCodeLength);
    // Type of the NAL unit after the next start code, -1 when none follows; the position is kept.
    virtual int PeekNextNalUnitType();

private:
    bool ScanPastStartCode(uint32_t& zeros);
    bool StepBackOntoStartCode(uint32_t zeros);
    std::unique_ptr<nal_unit> MakeNalUnit(uint8_t type, uint8_t startCodeLength) const;

    CBinaryBufferForAvc m_buffer;
    std::unique_ptr<seq_parameter_set_data> m_activeSps;
    int64_t m_fileSize = 0;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
