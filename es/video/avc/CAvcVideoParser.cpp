#include "es/video/avc/CAvcVideoParser.h"

#include <cstdio>

namespace ts_comp {
namespace es {
namespace avc_video {

CAvcVideoParser::~CAvcVideoParser() { m_buffer.Close(); }

bool CAvcVideoParser::Open(const char* path) {
    if (!m_buffer.Open(path)) return false;
    m_fileSize = m_buffer.GetSize();
    return true;
}

int64_t CAvcVideoParser::Tell() { return m_buffer.Tell(); }

// Raw bytes in bulk: zero bytes count up (zeros carries a run already seen), a 0x01 after two or more of
// them is a start code and leaves the file just past it; any other byte ends the run.
bool CAvcVideoParser::ScanPastStartCode(uint32_t& zeros) {
    uint8_t value = 0;
    while (m_buffer.ScanStartCodePrefix(zeros, value)) {
        if (value == 0x01) return true;
        zeros = 0;
    }
    return false;
}

// Onto a 4-byte start code when three or more zeros came before the 0x01, else onto the 3-byte one.
bool CAvcVideoParser::StepBackOntoStartCode(uint32_t zeros) {
    if (!ScanPastStartCode(zeros)) return false;
    m_buffer.Seek(zeros == 2 ? -3 : -4, SEEK_CUR);
    return true;
}

bool CAvcVideoParser::SkipToNextStartCode() { return StepBackOntoStartCode(0); }

bool CAvcVideoParser::FindStartCode(uint8_t& startCodeLength) {
    m_buffer.ByteAlign();
    uint32_t zeros = 0;
    if (!ScanPastStartCode(zeros)) return false;
    startCodeLength = static_cast<uint8_t>(zeros + 1);
    return true;
}

int CAvcVideoParser::PeekNextNalUnitType() {
    const int64_t position = m_buffer.Tell();
    uint8_t length = 0;
    int type = -1;
    if (FindStartCode(length)) type = m_buffer.ReadByte() & kNalTypeMask;
    m_buffer.Seek(position, SEEK_SET);
    return type;
}

std::unique_ptr<nal_unit> CAvcVideoParser::MakeNalUnit(uint8_t type, uint8_t startCodeLength) const {
    auto sps = [this] { return m_activeSps != nullptr ? m_activeSps->Clone() : nullptr; };
    switch (type) {
        case kNalSliceNonIdr:
        case kNalSliceIdr:
            return std::make_unique<slice_layer_without_partitioning_rbsp>(type, 0, startCodeLength, sps());
        case kNalSliceExtension:
            return std::make_unique<slice_layer_extension_rbsp>(type, 0, startCodeLength, sps());
        case kNalSei: return std::make_unique<sei_rbsp>(type, 0, startCodeLength, sps(), m_fileSize);
        case kNalSps: return std::make_unique<seq_parameter_set_rbsp>(type, 0, startCodeLength);
        case kNalSubsetSps: return std::make_unique<subset_seq_parameter_set_rbsp>(type, 0, startCodeLength);
        case kNalEndOfSequence: return std::make_unique<end_of_seq_rbsp>(type, 0, startCodeLength);
        case kNalEndOfStream: return std::make_unique<end_of_stream_rbsp>(type, 0, startCodeLength);
        default: return std::make_unique<nal_unit>(type, 0, startCodeLength);
    }
}

// The unit runs from its header byte h to the next start code s. Its syntax is read from h + 1 and the
// file then goes on to the first start code after what the parse consumed, which is s unless the parse
// ran past it. Only an SEI unit needs its size while parsing, so every other unit is parsed first and
// its payload is scanned once, from h + 1, without a way back over a long slice.
std::unique_ptr<nal_unit> CAvcVideoParser::ReadNextNalUnit() {
    uint8_t startCodeLength = 0;
    if (!FindStartCode(startCodeLength)) return nullptr;
    const int64_t h = m_buffer.Tell();
    m_buffer.Seek(h, SEEK_SET);
    const uint8_t header = m_buffer.ReadByte();
    const uint32_t zerosAfterHeader = header == 0 ? 1 : 0;
    std::unique_ptr<nal_unit> unit = MakeNalUnit(header & kNalTypeMask, startCodeLength);

    int64_t next = -1;
    if (unit->nal_unit_type == kNalSei) {
        StepBackOntoStartCode(0);  // an SEI header byte is not zero
        next = m_buffer.Tell();
        unit->size = static_cast<uint32_t>(next - h);
        m_buffer.Seek(h + 1, SEEK_SET);
    }
    if (!unit->Parse(m_buffer)) return nullptr;
    const int64_t parsedTo = m_buffer.Tell();
    if (next < 0) {
        m_buffer.Seek(h + 1, SEEK_SET);
        StepBackOntoStartCode(zerosAfterHeader);
        next = m_buffer.Tell();
        unit->size = static_cast<uint32_t>(next - h);
    } else {
        m_buffer.Seek(next, SEEK_SET);
    }
    if (parsedTo > next) {
        m_buffer.Seek(parsedTo, SEEK_SET);
        SkipToNextStartCode();
    }
    return unit;
}

std::unique_ptr<CAccessUintInformation> CAvcVideoParser::GetNextAccessUnit() {
    const int64_t start = m_buffer.Tell();
    if (start >= m_fileSize) return nullptr;
    auto record = std::make_unique<CAccessUintInformation>();
    std::unique_ptr<nal_unit> unit = ReadNextNalUnit();
    while (unit != nullptr) {
        if (const auto* sps = dynamic_cast<const seq_parameter_set_rbsp*>(unit.get())) m_activeSps = sps->data.Clone();
        record->AddNalUnit(std::move(unit));
        const int next = PeekNextNalUnitType();
        if (next == -1 || next == kNalAccessUnitDelimiter || next == kNalDependentDelimiter) break;
        unit = ReadNextNalUnit();
    }
    record->SetSize(static_cast<uint32_t>(m_buffer.Tell() - start));
    return record;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
