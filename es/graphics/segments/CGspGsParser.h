// Indexes the segments of a graphics stream file and parses one segment at a time on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspSegment.h"

namespace PRIVATE_LIBRARY { class CL_CFile; }

class CGspGsParser {
public:
    // One indexed segment: its type and the file offset of its first byte.
    struct Index {
        uint8_t segment_type;
        uint64_t offset;
    };

    CGspGsParser();
    CGspGsParser(const CGspGsParser&) = delete;
    CGspGsParser& operator=(const CGspGsParser&) = delete;
    virtual ~CGspGsParser();

    virtual bool ParseCurrentSegment();
    virtual void ReleaseCurrentSegment();
    virtual void ClearIndex();
    virtual uint32_t GetCurrentIndex() const { return m_position; }
    virtual bool Open(const char* path);
    virtual uint32_t GetSegmentCount() const { return static_cast<uint32_t>(m_index.size()); }
    virtual CGspSegment* GetSegmentAt(uint32_t i);
    virtual CGspSegment* GetCurrentSegment();
    virtual CGspSegment* GetPreviousSegment();
    virtual CGspSegment* GetNextSegment();
    // Joins the interactive composition that starts at ICS segment i into the file at path.
    virtual bool BuildCompositionFile(uint32_t i, const char* path);

    // The index entry at i (i below GetSegmentCount()).
    const Index& GetIndexEntry(uint32_t i) const { return m_index[i]; }

private:
    bool AppendFragment(PRIVATE_LIBRARY::CL_CFile& out, std::vector<uint8_t>& raw);

    std::unique_ptr<CGspSegment> m_current;
    std::vector<Index> m_index;
    uint32_t m_position = 0;
    std::unique_ptr<PRIVATE_LIBRARY::CL_CFile> m_file;
};
