// SEI NAL unit (type 6) with its messages in stream order.
#pragma once

#include <memory>
#include <vector>

#include "es/video/avc/nal_unit.h"
#include "es/video/avc/sei_message.h"
#include "input/CBinaryBufferForAvc.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Reads its payload loop with the active SPS; fails without an SPS or when a message fails.
class sei_rbsp : public nal_unit {
public:
    // fileSize: the size of the file the unit is read out of.
    sei_rbsp(uint8_t type, uint32_t size, uint8_t startCodeLength, std::unique_ptr<seq_parameter_set_data> sps,
             int64_t fileSize)
        : nal_unit(type, size, startCodeLength), sps(std::move(sps)), m_fileSize(fileSize) {}
    bool Parse(CBinaryBuffer& buffer) override;

    // First message of class M at top level or nested in an MVC scalable nesting; none when absent.
    template <typename M>
    const M* Find() const {
        for (const auto& message : messages) {
            if (const M* found = dynamic_cast<const M*>(message.get())) return found;
            if (const auto* nesting = dynamic_cast<const mvc_scalable_nesting*>(message.get())) {
                if (const M* inner = dynamic_cast<const M*>(nesting->nested.get())) return inner;
            }
        }
        return nullptr;
    }

    // Some message is an MVC scalable nesting around user data with an offset-metadata type indicator.
    bool HasOffsetMetadata() const;

    std::unique_ptr<seq_parameter_set_data> sps;
    // The messages an answer above comes from, in stream order: a message that changes none of them is
    // dropped, so a unit of countless messages stays small.
    std::vector<std::unique_ptr<sei_message>> messages;

private:
    // The answers of the messages kept, one bit each (buffering period, picture timing, offset metadata).
    unsigned m_answered = 0;
    int64_t m_fileSize;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
