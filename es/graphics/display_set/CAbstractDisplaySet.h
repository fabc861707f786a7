// One display set of a graphics stream and the decoder state kept across display sets.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/display_set/CDecodedObjectBuffer.h"
#include "es/graphics/display_set/ST_END.h"
#include "es/graphics/display_set/ST_ICS.h"
#include "es/graphics/display_set/ST_ODS.h"
#include "es/graphics/display_set/ST_PCS.h"
#include "es/graphics/display_set/ST_PDS.h"
#include "es/graphics/display_set/ST_WDS.h"
#include "es/graphics/segments/GspConstants.h"
#include "foundation/CL_CString.h"

class CGspSegment;

namespace ts_comp { namespace es { namespace graphics_stream {

class CAbstractDisplaySet {
public:
    using ST_SEGMENT = graphics_stream::ST_SEGMENT;
    using ST_PCS = graphics_stream::ST_PCS;
    using ST_WDS = graphics_stream::ST_WDS;
    using ST_PDS = graphics_stream::ST_PDS;
    using ST_ODS = graphics_stream::ST_ODS;
    using ST_END = graphics_stream::ST_END;
    using ST_WINDOW = graphics_stream::ST_WINDOW;
    using ST_COMPOSITION_OBJECT = graphics_stream::ST_COMPOSITION_OBJECT;
    using ST_ICS = graphics_stream::ST_ICS;
    using ST_PAGE = graphics_stream::ST_PAGE;
    using ST_EFFECT_SEQUENCE = graphics_stream::ST_EFFECT_SEQUENCE;
    using ST_EFFECT = graphics_stream::ST_EFFECT;
    using ST_BUTTON_OVERLAP_GROUP = graphics_stream::ST_BUTTON_OVERLAP_GROUP;
    using ST_BUTTON = graphics_stream::ST_BUTTON;

    CAbstractDisplaySet(uint64_t decodingRate, uint32_t objectSlots);
    CAbstractDisplaySet(const CAbstractDisplaySet&) = delete;
    CAbstractDisplaySet& operator=(const CAbstractDisplaySet&) = delete;
    virtual ~CAbstractDisplaySet();

    virtual uint32_t GetSegmentCount() const { return m_count; }
    virtual uint32_t GetDisplaySetNumber() const { return m_displaySetNumber; }
    virtual ST_SEGMENT* GetSegment(uint32_t i) const { return i < m_count ? m_segments[i].get() : nullptr; }
    // Empties the current display set (its records are kept for reuse); the decoder state is kept.
    virtual void Clear() { m_count = 0; }
    virtual bool Validate() = 0;
    virtual bool AddSegment(CGspSegment* segment) = 0;
    virtual bool ComputeTimeStamps(int64_t startPts) = 0;

    void SetIntermediateFolder(const PRIVATE_LIBRARY::CL_CString& folder) { m_folder = folder; }
    // What the intermediate composition file holds, where its writer knows it (null: it is read from the
    // file); handed to the interactive composition records made afterwards.
    void SetIntermediateContents(const std::vector<uint8_t>* contents) { m_contents = contents; }
    int64_t GetPreviousEndTime() const { return m_previousEnd; }
    // What the items of the records are moved by when written (0 when the records were moved themselves).
    int64_t GetShift() const { return m_shift; }

    // a / b, plus 1 when the remainder is not 0 (the ceiling for a >= 0, b > 0).
    static int64_t CeilDiv(int64_t a, int64_t b) { return a / b + (a % b != 0 ? 1 : 0); }
    // Frame duration in 90 kHz ticks of a composition's 4-bit frame_rate code (0 for codes without one).
    static int64_t FrameDuration(uint8_t frameRateCode) {
        // Codes 1 and 7 give 3753 and 1501 ticks, as the decoder model has always used.
        static constexpr int64_t kTicks[16] = {0, 3753, 3750, 3600, 3003, 0, 1800, 1501, 0, 0, 0, 0, 0, 0, 0, 0};
        return kTicks[frameRateCode & 0x0F];
    }

protected:
    // The records of the current display set, in arrival order.
    struct Records {
        const std::unique_ptr<ST_SEGMENT>* first;
        const std::unique_ptr<ST_SEGMENT>* last;
        const std::unique_ptr<ST_SEGMENT>* begin() const { return first; }
        const std::unique_ptr<ST_SEGMENT>* end() const { return last; }
    };
    Records Current(uint32_t from = 0) const { return {m_segments.data() + from, m_segments.data() + m_count}; }
    bool IsEmpty() const { return m_count == 0; }
    ST_SEGMENT& Front() const { return *m_segments.front(); }
    ST_SEGMENT& Back() const { return *m_segments[m_count - 1]; }
    // The record that the next segment of the type fills, in the place it will take: the record that
    // earlier display sets had there when it is of the type (Fill sets all its fields again); null for a
    // type without records. Append adds it to the display set. (An interactive composition record also
    // learns where its composition is.)
    ST_SEGMENT* NewRecord(uint8_t segmentType) {
        if (m_count < m_types.size() && m_types[m_count] == segmentType && segmentType != gsp::kSegmentICS) {
            return m_segments[m_count].get();
        }
        return NewRecordSlow(segmentType);
    }
    void Append() { ++m_count; }
    // Decoding and presentation times of every record from the end of the previous display set.
    void RunCommonTimingPass();
    // Moves the display set so that its first record is presented at startPts, then sets the previous end time.
    void MoveOntoStartPts(int64_t startPts);
    // The same, where the first record has the earliest decoding time, without moving the records: their
    // items are moved by GetShift() as they are written.
    void ShiftOntoStartPts(int64_t startPts);

    uint64_t m_decodingRate;
    uint32_t m_displaySetNumber = 0;
    int64_t m_previousEnd = 0;
    int64_t m_shift = 0;
    uint32_t m_firstOds = 0;  // the first ODS record of the display set (the count when none), as timed
    CDecodedObjectBuffer m_objects;
    PRIVATE_LIBRARY::CL_CString m_folder;
    const std::vector<uint8_t>* m_contents = nullptr;

private:
    int64_t CodedObjectSize(uint32_t from, uint16_t id) const;
    // Throws when the record's decoding time would be negative once moved by offset.
    static void RequireMovable(const ST_SEGMENT& record, int64_t offset) {
        if (offset < 0 && record.dts < -offset) ThrowNegativeDts(record, offset);
    }
    [[noreturn, gnu::cold, gnu::noinline]] static void ThrowNegativeDts(const ST_SEGMENT& record, int64_t offset);
    ST_SEGMENT* Prepared(ST_SEGMENT* record) const;
    ST_SEGMENT* NewRecordSlow(uint8_t segmentType);

    // The first m_count records are the current display set; the ones after them, kept from earlier
    // display sets, are filled again in place when a segment of their type arrives at their position.
    std::vector<std::unique_ptr<ST_SEGMENT>> m_segments;
    std::vector<uint8_t> m_types;  // the segment type each record was made for
    uint32_t m_count = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
