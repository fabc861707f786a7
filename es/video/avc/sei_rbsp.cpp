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
// the unit with an exception where it reached the end of the file. It is parsed only where it could. With
// the one SPS, a parse reads the bits another parse of its class read, and a seq_parameter_set_id of up to
// 15 bits (it ends in the first byte when that is neither 0 nor 3); those take at most twice the file bytes
// the other parse spanned and 8 more, emulation-prevention bytes included.
bool sei_rbsp::Parse(CBinaryBuffer& b) {
    if (!nal_unit::Parse(b) || sps == nullptr) return false;
    auto* buffer = dynamic_cast<CBinaryBufferForAvc*>(&b);
    if (buffer == nullptr) return false;  // SEI units are read out of the AVC buffer only
    CBinaryBufferForAvc& avc = *buffer;
    std::unique_ptr<buffering_period> period;
    std::unique_ptr<pic_timing> timing;
    std::unique_ptr<mvc_scalable_nesting> nesting;
    // File bytes the last parse of a top-level buffering period and picture timing spanned (-1: none yet).
    int64_t periodBytes = -1;
    int64_t timingBytes = -1;
    const int64_t start = avc.Tell();
    while (avc.Tell() - start + 2 < static_cast<int64_t>(size)) {
        const uint64_t payloadType = ReadSeiValue(avc);
        const uint64_t payloadSize = ReadSeiValue(avc);
        const int64_t payloadStart = avc.Tell();
        const auto mayEndFile = [&](int64_t spanned) {
            return spanned < 0 || m_fileSize - payloadStart < 2 * spanned + 8;
        };
        const auto parse = [&](auto& slot, int64_t* spanned) {
            auto& message = Fresh(slot);
            if (!message.Parse(b, *sps)) return false;
            if (spanned != nullptr) *spanned = avc.Tell() - payloadStart;
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
                if ((m_answered & kAnswersBufferingPeriod) == 0 || !idInFirstByte || mayEndFile(periodBytes)) {
                    parsed = parse(period, &periodBytes);
                }
                break;
            }
            case kSeiPicTiming:
                if ((m_answered & kAnswersPicTiming) == 0 || mayEndFile(timingBytes)) parsed = parse(timing, &timingBytes);
                break;
            case kSeiMvcScalableNesting: parsed = parse(nesting, nullptr); break;
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
