#include "es/video/avc/sei_rbsp.h"

#include <cstdio>

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
// Passes count payload bytes as ReadBytes delivers them (emulation-prevention bytes not counted).
void SkipPayload(CBinaryBuffer& b, uint64_t count) {
    uint8_t scratch[4096];
    while (count > 0) {
        const auto take = static_cast<uint32_t>(count < sizeof(scratch) ? count : sizeof(scratch));
        b.ReadBytes(scratch, take);
        count -= take;
    }
}

bool IsOffsetMetadata(const sei_message& message) {
    const auto* nesting = dynamic_cast<const mvc_scalable_nesting*>(&message);
    const auto* data = nesting != nullptr ? dynamic_cast<const user_data_unregistered*>(nesting->nested.get()) : nullptr;
    return data != nullptr &&
           (data->type_indicator == kOffsetMetadataIndicator || data->type_indicator == kOffsetMetadataIndicatorAll);
}

// True when message is, or nests, the first message of its class, or the first offset metadata.
template <typename M>
bool First(const sei_rbsp& sei, const sei_message& message) {
    const auto* nesting = dynamic_cast<const mvc_scalable_nesting*>(&message);
    const bool is = dynamic_cast<const M*>(&message) != nullptr ||
                    (nesting != nullptr && dynamic_cast<const M*>(nesting->nested.get()) != nullptr);
    return is && sei.Find<M>() == nullptr;
}
}  // namespace

bool sei_rbsp::HasOffsetMetadata() const {
    for (const auto& message : messages) {
        if (IsOffsetMetadata(*message)) return true;
    }
    return false;
}

bool sei_rbsp::Answers(const sei_message& message) const {
    return First<buffering_period>(*this, message) || First<pic_timing>(*this, message) ||
           (IsOffsetMetadata(message) && !HasOffsetMetadata());
}

// Messages follow each other until at most the trailing-bits byte of the unit remains; each payload is
// skipped by its size from where it began, whatever its parse read.
bool sei_rbsp::Parse(CBinaryBuffer& b) {
    if (!nal_unit::Parse(b) || sps == nullptr) return false;
    const int64_t start = b.Tell();
    while (b.Tell() - start + 2 < static_cast<int64_t>(size)) {
        const uint64_t payloadType = ReadSeiValue(b);
        const uint64_t payloadSize = ReadSeiValue(b);
        const int64_t payloadStart = b.Tell();
        std::unique_ptr<sei_message> message;
        switch (payloadType) {
            case kSeiBufferingPeriod: message = std::make_unique<buffering_period>(); break;
            case kSeiPicTiming: message = std::make_unique<pic_timing>(); break;
            case kSeiMvcScalableNesting: message = std::make_unique<mvc_scalable_nesting>(); break;
            default: break;
        }
        if (message != nullptr) {
            if (!message->Parse(b, *sps)) return false;
            if (Answers(*message)) messages.push_back(std::move(message));
        }
        b.Seek(payloadStart, SEEK_SET);
        SkipPayload(b, payloadSize);
    }
    return true;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
