// Record of an interactive composition segment with the menu model of its joined composition.
#pragma once

#include <cstdint>
#include <vector>

#include "es/graphics/display_set/ST_PAGE.h"
#include "es/graphics/display_set/ST_SEGMENT.h"
#include <memory>

#include "foundation/CL_CFile.h"
#include "foundation/CL_CString.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_ICS : ST_SEGMENT {
    // folder: where the joined composition file "ic.dat" lies (its text ends with a separator).
    explicit ST_ICS(const PRIVATE_LIBRARY::CL_CString& folder) : folder(folder) {}
    // Copies the header, then reads the joined composition file; fails when it cannot be read.
    bool Fill(CGspSegment* segment) override;

    uint16_t composition_number = 0;
    uint8_t composition_state = 0;
    uint16_t video_width = 0;
    uint16_t video_height = 0;
    uint8_t frame_rate = 0;
    uint8_t first_in_sequence_flag = 0;
    uint8_t last_in_sequence_flag = 0;
    uint8_t stream_model = 0;
    uint64_t composition_time_out_pts = 0;
    std::vector<ST_PAGE> pages;
    PRIVATE_LIBRARY::CL_CString folder;
    // The bytes the composition file holds, where its writer knows them (they are read instead of the
    // file); null to read the file.
    const std::vector<uint8_t>* contents = nullptr;

private:
    // The composition file is read through this file object, kept for the record's next Fill.
    std::unique_ptr<PRIVATE_LIBRARY::CL_CFile> m_compositionFile;
};

}}}  // namespace ts_comp::es::graphics_stream
