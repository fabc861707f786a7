#include "es/video/avc/sei_rbsp.h"

#include <cstdio>

#include "input/CBinaryBufferForAvc.h"

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
constexpr unsigned kAnswersBufferingPeriod = 1;
constexpr unsigned kAnswersPicTiming = 2;
constexpr unsigned kAnswersOffsetMetadata = 4;

// More file bytes than a buffering-period or picture-timing parse reads with any SPS: a
// seq_parameter_set_id that ends in its first byte, 2 x 256 pairs of delays of up to 32 bits, and an
// emulation-prevention byte for every two bytes delivered.
constexpr uint32_t kTimingParseReach = 8192;

// The answers a parsed message of payloadType could give.
unsigned AnswersOf(const sei_message& message, uint64_t payloadType) {
    if (payloadType == kSeiBufferingPeriod) return kAnswersBufferingPeriod;
    if (payloadType == kSeiPicTiming) return kAnswersPicTiming;
    const sei_message* nested = static_cast<const mvc_scalable_nesting&>(message).nested.get();
    if (dynamic_cast<const buffering_period*>(nested) != nullptr) return kAnswersBufferingPeriod;
    if (dynamic_cast<const pic_timing*>(nested) != nullptr) return kAnswersPicTiming;
    const auto* data = dynamic_cast<const user_data_unregistered*>(nested);
    const bool offsets = data != nullptr && (data->type_indicator == kOffsetMetadataIndicator ||
                                             data->type_indicator == kOffsetMetadataIndicatorAll);
    return offsets ? kAnswersOffsetMetadata : 0;
}

// The message object of slot, made on first use and after it was kept, else cleared for the next parse.
template <typename M>
M& Fresh(std::unique_ptr<M>& slot) {
    if (slot == nullptr) {
        slot = std::make_unique<M>();
    } else {
        *slot = M();
    }
    return *slot;
}

}  // namespace

bool sei_rbsp::HasOffsetMetadata() const { return (m_answered & kAnswersOffsetMetadata) != 0; }

// Messages follow each other until at most the trailing-bits byte of the unit remains; each payload is
// skipped by its size from where it began, whatever its parse read. A message is parsed into the object
// of its class, which is kept when the message gives an answer none before it gave.
// A buffering period or picture timing of a class answered already changes nothing, but its parse would end
// the unit with an exception where it reached the end of the file. It is parsed only where it could: near
// the end of the file, or when a seq_parameter_set_id does not end in its first byte (a first byte other
// than 0 and 3 holds a 1 bit and is delivered as it is).
bool sei_rbsp::Parse(CBinaryBuffer& b) {
    if (!nal_unit::Parse(b) || sps == nullptr) return false;
    auto* buffer = dynamic_cast<CBinaryBufferForAvc*>(&b);
    if (buffer == nullptr) return false;  // SEI units are read out of the AVC buffer only
    CBinaryBufferForAvc& avc = *buffer;
    std::unique_ptr<buffering_period> period;
    std::unique_ptr<pic_timing> timing;
    std::unique_ptr<mvc_scalable_nesting> nesting;
    const int64_t start = avc.Tell();
    const int64_t farFromEnd = m_fileSize - kTimingParseReach;
    while (avc.Tell() - start + 2 < static_cast<int64_t>(size)) {
        const uint64_t payloadType = ReadSeiValue(avc);
        const uint64_t payloadSize = ReadSeiValue(avc);
        const int64_t payloadStart = avc.Tell();
        const bool nearEnd = payloadStart > farFromEnd;
        const auto parse = [&](auto& slot) {
            auto& message = Fresh(slot);
            if (!message.Parse(b, *sps)) return false;
            const unsigned answers = AnswersOf(message, payloadType);
            if ((answers & ~m_answered) != 0) {
                m_answered |= answers;
                messages.push_back(std::move(slot));
            }
            b.Seek(payloadStart, SEEK_SET);
            return true;
        };
        bool parsed = true;
        switch (payloadType) {
            case kSeiBufferingPeriod: {
                const uint8_t* first = nullptr;
                const bool idInFirstByte = avc.PeekBuffered(&first) != 0 && *first != 0 && *first != 3;
                if ((m_answered & kAnswersBufferingPeriod) == 0 || nearEnd || !idInFirstByte) parsed = parse(period);
                break;
            }
            case kSeiPicTiming:
                if ((m_answered & kAnswersPicTiming) == 0 || nearEnd) parsed = parse(timing);
                break;
            case kSeiMvcScalableNesting: parsed = parse(nesting); break;
            default: break;
        }
        if (!parsed) return false;
        avc.SkipFromHere(payloadSize);
    }
    return true;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
