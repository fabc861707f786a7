#include "es/graphics/display_set/CAbstractDisplaySet.h"

#include <utility>

#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/segments/GspConstants.h"
#include "foundation/CTsMuxException.h"

namespace ts_comp { namespace es { namespace graphics_stream {

CAbstractDisplaySet::CAbstractDisplaySet(uint64_t decodingRate, uint32_t objectSlots)
    : m_decodingRate(decodingRate), m_objects(objectSlots) {}

CAbstractDisplaySet::~CAbstractDisplaySet() = default;

// A kept record of the type a few places further on is swapped into place (display sets that differ by a
// segment or two still find theirs); otherwise a new one replaces the kept record, so that no more records
// are kept than the largest display set held.
ST_SEGMENT* CAbstractDisplaySet::NewRecordSlow(uint8_t segmentType) {
    constexpr size_t kLookAhead = 8;
    for (size_t j = m_count; j < m_segments.size() && j < m_count + kLookAhead; ++j) {
        if (m_types[j] != segmentType) continue;
        if (j != m_count) {
            std::swap(m_segments[m_count], m_segments[j]);
            std::swap(m_types[m_count], m_types[j]);
        }
        return Prepared(m_segments[m_count].get());
    }
    std::unique_ptr<ST_SEGMENT> record;
    switch (segmentType) {
        case gsp::kSegmentPCS: record = std::make_unique<ST_PCS>(); break;
        case gsp::kSegmentWDS: record = std::make_unique<ST_WDS>(); break;
        case gsp::kSegmentPDS: record = std::make_unique<ST_PDS>(); break;
        case gsp::kSegmentODS: record = std::make_unique<ST_ODS>(); break;
        case gsp::kSegmentEND: record = std::make_unique<ST_END>(); break;
        case gsp::kSegmentICS: record = std::make_unique<ST_ICS>(m_folder); break;
        default: return nullptr;
    }
    if (m_count == m_segments.size()) {
        m_segments.push_back(std::move(record));
        m_types.push_back(segmentType);
    } else {
        m_segments[m_count] = std::move(record);
        m_types[m_count] = segmentType;
    }
    return Prepared(m_segments[m_count].get());
}

// An interactive composition record learns where its composition is.
ST_SEGMENT* CAbstractDisplaySet::Prepared(ST_SEGMENT* record) const {
    if (m_types[m_count] == gsp::kSegmentICS) {
        auto& ics = static_cast<ST_ICS&>(*record);
        ics.folder = m_folder;
        ics.contents = m_contents;
    }
    return record;
}

// Coded size of the object id: the ODS records of the display set from record `from` on (no ODS comes
// before it) carrying the id, in order, up to and including the first one that ends a sequence.
int64_t CAbstractDisplaySet::CodedObjectSize(uint32_t from, uint16_t id) const {
    int64_t size = 0;
    for (const auto& record : Current(from)) {
        if (record->segment_type != gsp::kSegmentODS) continue;
        const auto* ods = static_cast<const ST_ODS*>(record.get());
        if (ods->object_id != id) continue;
        size += int64_t{ods->segment_length} + 3;
        if (ods->last_in_sequence_flag == 1) break;
    }
    return size;
}

void CAbstractDisplaySet::RunCommonTimingPass() {
    const int64_t base = m_previousEnd;
    int64_t t = 0;
    int64_t coded = 0;
    const ST_ODS* lastFirst = nullptr;
    m_firstOds = m_count;
    for (uint32_t i = 0; i < m_count; ++i) {
        ST_SEGMENT& r = *m_segments[i];
        switch (r.segment_type) {
            case gsp::kSegmentPDS:
            case gsp::kSegmentEND:
                r.dts = r.pts = base + t;
                coded += int64_t{r.segment_length} + 3;
                break;
            case gsp::kSegmentPCS:
            case gsp::kSegmentWDS:
            case gsp::kSegmentICS:
                r.dts = base + t;
                r.pts = r.dts + 1;
                coded += int64_t{r.segment_length} + 3;
                break;
            case gsp::kSegmentODS: {
                auto& ods = static_cast<ST_ODS&>(r);
                if (m_firstOds == m_count) m_firstOds = i;
                if (ods.first_in_sequence_flag == 1) {
                    const int64_t size = CodedObjectSize(m_firstOds, ods.object_id);
                    coded += size;
                    if (coded > kCodedBufferFree) t += CeilDiv(size * kClock, kTransferRate);
                    ods.dts = base + t;
                    // The pixel count times 8 is formed in 32 bits.
                    const uint32_t bits = uint32_t{ods.object_width} * ods.object_height * 8u;
                    t += CeilDiv(int64_t{bits} * kClock, static_cast<int64_t>(m_decodingRate));
                    ods.pts = base + t;
                    m_objects.Store(ods);
                    lastFirst = &ods;
                } else if (lastFirst != nullptr) {
                    ods.dts = lastFirst->dts;
                    ods.pts = lastFirst->pts;
                } else {
                    // A continuation without a first fragment in this display set: the decoder's current time.
                    ods.dts = ods.pts = base + t;
                }
                break;
            }
            default:
                break;
        }
    }
}

void CAbstractDisplaySet::MoveOntoStartPts(int64_t startPts) {
    if (IsEmpty()) return;
    const int64_t offset = startPts - Front().pts;
    for (const auto& record : Current()) {
        RequireMovable(*record, offset);
        record->dts += offset;
        record->pts += offset;
        if (record->segment_type == gsp::kSegmentODS) {
            const auto& ods = static_cast<const ST_ODS&>(*record);
            if (ods.first_in_sequence_flag == 1) m_objects.Store(ods);
        }
    }
    m_previousEnd = Back().pts;
}

void CAbstractDisplaySet::ShiftOntoStartPts(int64_t startPts) {
    if (IsEmpty()) return;
    m_shift = startPts - Front().pts;
    RequireMovable(Front(), m_shift);  // the earliest decoding time: when it stays, all others stay
    m_previousEnd = Back().pts + m_shift;
}

void CAbstractDisplaySet::ThrowNegativeDts(const ST_SEGMENT& record, int64_t offset) {
    PRIVATE_LIBRARY::CL_CString message;
    message.Format(kMsgNegativeDts, record.dts + offset);
    throw CTsMuxException(kContentErrorCode, message, kSourceAbstractDisplaySet, __LINE__, nullptr, nullptr);
}

}}}  // namespace ts_comp::es::graphics_stream
