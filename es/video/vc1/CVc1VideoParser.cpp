#include "es/video/vc1/CVc1VideoParser.h"

#include "es/video/vc1/CEndOfSequence.h"
#include "es/video/vc1/CEntrypointHeader.h"
#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

namespace {

enum class Step { kMore, kFound, kFailed };

// The decision at a non-zero byte v that follows state.zeros zero bytes: 0x000001 is a start code;
// 0x000002, or three zeros and anything but 0x01, end the search; 0x000003 escapes the byte after it.
Step Decide(CVc1VideoParser::ScanState& state, uint8_t v) {
    if (state.zeros >= 2 && v == 0x01) return Step::kFound;
    if ((state.zeros >= 2 && v == 0x02) || state.zeros >= 3) return Step::kFailed;
    state.escape = state.zeros == 2 && v == 0x03;
    state.zeros = 0;
    return Step::kMore;
}

// One raw byte through the search. An escaped byte above 3 ends the search; an escaped zero starts a run of one.
Step Advance(CVc1VideoParser::ScanState& state, uint8_t b) {
    if (state.escape) {
        state.escape = false;
        if (b > 3) return Step::kFailed;
        state.zeros = b == 0 ? 1 : 0;
        return Step::kMore;
    }
    if (b == 0) {
        if (state.zeros < 3) ++state.zeros;
        return Step::kMore;
    }
    return Decide(state, b);
}

}  // namespace

CVc1VideoParser::~CVc1VideoParser() { m_buffer.Close(); }

bool CVc1VideoParser::Open(const char* path) {
    const bool opened = m_buffer.Open(path);
    m_fileSize = opened ? m_buffer.GetSize() : 0;
    m_position = 0;
    m_nextKnown = false;
    return opened;
}

// Ends a search at the byte at position `at` when the step decided; a start code takes its type from the
// byte after it (left unread), and a start code cut off before its type byte is no start code.
bool CVc1VideoParser::Conclude(int step, int64_t at, Search& result) {
    if (static_cast<Step>(step) == Step::kMore) return false;
    result = Search{false, 0, 0, at + 1};
    const uint8_t* data = nullptr;
    if (static_cast<Step>(step) == Step::kFound && m_buffer.PeekBuffered(&data) != 0) {
        result = Search{true, at - 2, data[0], at - 2};
    }
    return true;
}

bool CVc1VideoParser::StepByte(ScanState& state, uint8_t b, int64_t at, Search& result) {
    return Conclude(static_cast<int>(Advance(state, b)), at, result);
}

// The search from the current position in `state`, in bulk: the prefix scan stops only at a non-zero byte
// after two or more zeros, the only bytes where the search decides anything.
CVc1VideoParser::Search CVc1VideoParser::Run(ScanState state) {
    Search result;
    for (;;) {
        const uint8_t* data = nullptr;
        if (state.escape) {
            const int64_t at = m_buffer.Tell();
            if (m_buffer.PeekBuffered(&data) == 0) return Search{false, 0, 0, at};
            const uint8_t b = data[0];
            m_buffer.ConsumeBuffered(1);
            if (StepByte(state, b, at, result)) return result;
            continue;
        }
        uint8_t v = 0;
        if (!m_buffer.ScanStartCodePrefix(state.zeros, v)) return Search{false, 0, 0, m_buffer.Tell()};
        if (Conclude(static_cast<int>(Decide(state, v)), m_buffer.Tell() - 1, result)) return result;
    }
}

// The BDU at payload - 4 was parsed up to parsedTo. Its size comes from the search that starts at payload;
// the look-ahead for the next BDU is the search that starts at parsedTo. Both see the same bytes from
// parsedTo on, so they are stepped together only until their states agree, and then run once.
void CVc1VideoParser::Searches(int64_t payload, int64_t parsedTo, Search& size, Search& next) {
    m_buffer.Seek(payload, 0);
    ScanState sizeState;
    bool sizeDone = false;
    const uint8_t* data = nullptr;
    for (int64_t at = payload; at < parsedTo && !sizeDone; ++at) {
        if (m_buffer.PeekBuffered(&data) == 0) break;
        const uint8_t b = data[0];
        m_buffer.ConsumeBuffered(1);
        sizeDone = StepByte(sizeState, b, at, size);
    }
    if (sizeDone) {
        m_buffer.Seek(parsedTo, 0);
        next = Run(ScanState{});
        return;
    }
    ScanState nextState;
    bool nextDone = false;
    for (;;) {
        if (sizeDone && nextDone) return;
        if (sizeDone) {
            next = Run(nextState);
            return;
        }
        if (nextDone) {
            size = Run(sizeState);
            return;
        }
        if (sizeState == nextState) {
            size = next = Run(sizeState);
            return;
        }
        const int64_t at = m_buffer.Tell();
        if (m_buffer.PeekBuffered(&data) == 0) {
            size = next = Search{false, 0, 0, at};
            return;
        }
        const uint8_t b = data[0];
        m_buffer.ConsumeBuffered(1);
        sizeDone = StepByte(sizeState, b, at, size);
        nextDone = StepByte(nextState, b, at, next);
    }
}

std::unique_ptr<CBitstreamDataUnit> CVc1VideoParser::ReadBdu(uint8_t type) {
    switch (type) {
        case kBduSequenceHeader: {
            auto header = std::make_unique<CSequenceHeader>();
            header->Parse(m_buffer);
            m_sequenceHeader = std::make_unique<CSequenceHeader>(*header);
            m_profile = header->PROFILE;
            return header;
        }
        case kBduEntryPoint: {
            // Before any sequence header there are no flags to read it with: kept as a plain BDU.
            if (m_sequenceHeader == nullptr) break;
            auto entry = std::make_unique<CEntrypointHeader>();
            entry->ParseWithSequenceHeader(m_buffer, m_sequenceHeader.get());
            return entry;
        }
        case kBduFrame: {
            if (m_profile != kProfileAdvanced && m_profile != kProfileMain) break;
            auto picture = std::make_unique<CPictureLayerForAdvancedProfile>();
            if (m_profile == kProfileAdvanced) picture->ParseWithSequenceHeader(m_buffer, m_sequenceHeader.get());
            return picture;
        }
        case kBduEndOfSequence: return std::make_unique<CEndOfSequence>();
        default: break;
    }
    return std::make_unique<CBitstreamDataUnit>(type);
}

std::unique_ptr<CBitstreamDataUnit> CVc1VideoParser::ParseNextBdu() {
    if (!m_nextKnown || m_nextFrom != m_position) {
        m_buffer.Seek(m_position, 0);
        m_next = Run(ScanState{});
    }
    m_nextKnown = false;
    const Search code = m_next;
    if (!code.found) {
        m_position = code.stop;
        return nullptr;
    }
    m_codePosition = code.codePos;
    const int64_t payload = code.codePos + kStartCodeBytes;
    m_buffer.Seek(payload, 0);
    std::unique_ptr<CBitstreamDataUnit> bdu = ReadBdu(code.type);
    const int64_t parsedTo = m_buffer.Tell();
    Search size;
    Searches(payload, parsedTo, size, m_next);
    m_nextKnown = true;
    m_nextFrom = m_position = parsedTo;
    bdu->SetSize(static_cast<uint32_t>(size.stop - code.codePos));
    return bdu;
}

// Header units gather a sequence header, entry points and what lies among them up to the next frame BDU;
// a picture unit is a frame BDU with what follows it up to the next header or frame.
std::unique_ptr<CAccessUintInformationForVc1> CVc1VideoParser::GetNextAccessUnit() {
    if (m_position >= m_fileSize) return nullptr;
    auto unit = std::make_unique<CAccessUintInformationForVc1>();
    try {
        while (std::unique_ptr<CBitstreamDataUnit> bdu = ParseNextBdu()) {
            const uint8_t type = bdu->GetType();
            if (unit->GetBduCount() == 0) m_unitPosition = m_codePosition;
            unit->AddBdu(std::move(bdu));
            if (!m_next.found) break;
            const uint8_t next = m_next.type;
            const bool header = type == kBduSequenceHeader || type == kBduEntryPoint;
            if (next == kBduFrame || (!header && (next == kBduSequenceHeader || next == kBduEntryPoint))) break;
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        m_nextKnown = false;
        return nullptr;
    }
    if (unit->GetBduCount() == 0) return nullptr;
    return unit;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
