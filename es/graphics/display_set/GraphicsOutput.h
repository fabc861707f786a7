// What the two graphics analysers write alike: KIV items of display-set records, report lines, XML text.
#pragma once

#include <cstdint>

#include "es/graphics/display_set/CAbstractDisplaySet.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "foundation/CL_CString.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivPackedItem.h"
#include "kiv/KivConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

// Sets the fields of the item for one record of a computed display set, its times moved by shift: a
// composition segment carries its composition_state, ICS and ODS records carry their sequence flags.
inline void FillItem(kiv::CGraphicsKivPackedItem& item, const ST_SEGMENT& r, int64_t shift) {
    uint64_t sub = 0, first = 0, last = 0;
    if (r.segment_type == gsp::kSegmentPCS) {
        sub = static_cast<const ST_PCS&>(r).composition_state;
    } else if (r.segment_type == gsp::kSegmentICS) {
        const auto& ics = static_cast<const ST_ICS&>(r);
        sub = ics.composition_state;
        first = ics.first_in_sequence_flag;
        last = ics.last_in_sequence_flag;
    } else if (r.segment_type == gsp::kSegmentODS) {
        const auto& ods = static_cast<const ST_ODS&>(r);
        first = ods.first_in_sequence_flag;
        last = ods.last_in_sequence_flag;
    }
    item.Set(r.segment_type, uint64_t{r.segment_length} + 3, static_cast<uint64_t>(r.dts + shift),
             static_cast<uint64_t>(r.pts + shift), sub, first, last);
}
// Writes one item per record of a computed display set (moved by its shift), adding each record's bytes to `processed` and
// calling afterUnit(processed) after each; false when an item cannot be written.
template <class AfterUnit>
bool WriteItems(kiv::CGraphicsKiv& kiv, kiv::CGraphicsKivPackedItem& item, const CAbstractDisplaySet& displaySet,
                int64_t& processed, AfterUnit afterUnit) {
    const uint32_t count = displaySet.CAbstractDisplaySet::GetSegmentCount();
    const int64_t shift = displaySet.GetShift();
    for (uint32_t r = 0; r < count; ++r) {
        const ST_SEGMENT& record = *displaySet.CAbstractDisplaySet::GetSegment(r);
        FillItem(item, record, shift);
        if (!kiv.WriteItem(item)) return false;
        processed += int64_t{record.segment_length} + 3;
        afterUnit(processed);
    }
    return true;
}
// Sets the end item that closes a graphics KIV file: type 255, size 0, dts 0, the given pts, flags 0.
void FillEndItem(kiv::CGraphicsKivPackedItem& item, int64_t endPts);

// Walks the segments of the stream at path once, forward, in constant memory, and hands each segment of the
// type to take(parser, its index) until it returns false; false when the file cannot be indexed to its end.
template <class Take>
bool ForEachSegment(const PRIVATE_LIBRARY::CL_CString& path, uint8_t type, Take take) {
    CGspGsParser parser;
    if (!parser.Open(path.GetString())) return false;
    bool taking = true;
    for (uint32_t i = 0; const CGspGsParser::Index* entry = parser.FindIndexEntry(i); ++i) {
        if (taking && entry->segment_type == type) taking = take(parser, i);
        parser.ForgetIndexBefore(i);
    }
    return !parser.IndexFailed();
}

// The attributes a graphics stream reports, 0 until found.
struct GraphicsAttributes {
    uint32_t displaySets = 0;
    int width = 0, height = 0, frameRate = 0;

    // The attributes of a composition segment (none from null).
    template <class Composition>
    void Take(const Composition* c) {
        if (c == nullptr) return;
        width = c->GetVideoWidth();
        height = c->GetVideoHeight();
        frameRate = c->GetFrameRate();
    }

    // Appends the four report lines.
    void AppendReport(PRIVATE_LIBRARY::CL_CString& out) const;
    // Replaces out with the XML attribute document under the root element `root` (PG or IG).
    void MakeXml(const char* root, PRIVATE_LIBRARY::CL_CString& out) const;
};

}}}  // namespace ts_comp::es::graphics_stream
