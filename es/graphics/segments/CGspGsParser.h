// Indexes the segments of a graphics stream file and parses one segment at a time on demand; the index
// grows as segments are asked for, so that one sequential pass over the file does both.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspSegment.h"
#include "foundation/CL_CFile.h"

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
    // Completes the index first.
    virtual uint32_t GetSegmentCount() const;
    virtual CGspSegment* GetSegmentAt(uint32_t i);
    virtual CGspSegment* GetCurrentSegment();
    virtual CGspSegment* GetPreviousSegment();
    virtual CGspSegment* GetNextSegment();
    // A forward pass that asks for every segment once, in order: the segment after the last one handed out
    // (or the first), parsed, or null past the last; the segments before it are forgotten.
    CGspSegment* TakeNextSegment() {
        const uint8_t* d = nullptr;
        uint32_t buffered = 0;
        if (m_index.empty() && !m_indexComplete && m_file->Tell() == static_cast<int64_t>(m_nextOffset) &&
            (buffered = m_file->PeekBuffered(&d)) >= 3) {
            const uint64_t offset = m_nextOffset;
            Advance(d);
            m_position = m_forgotten++;
            m_current = Kind(d[0]);
            m_current->ParseBuffered(m_file.get(), offset, d, buffered);
            return m_current;
        }
        return TakeNextIndexed();
    }
    // Joins the interactive composition that starts at ICS segment i into the file at path.
    virtual bool BuildCompositionFile(uint32_t i, const char* path);
    // The same, handing each fragment's bytes in order to append(bytes, count), which returns false when
    // they could not be taken (that ends the join with failure).
    bool JoinComposition(uint32_t i, const std::function<bool(const uint8_t*, uint32_t)>& append);

    // The index entry at i (i below GetSegmentCount(), and not forgotten).
    const Index& GetIndexEntry(uint32_t i) const { return m_index[i - m_forgotten]; }
    // The index entry at i, indexing through it first; null past the last segment or when forgotten.
    const Index* FindIndexEntry(uint32_t i) const {
        return i >= m_forgotten && IndexThrough(i) ? &m_index[i - m_forgotten] : nullptr;
    }
    // A forward pass is done with the segments below i: their index entries are dropped (they are not
    // asked for again), so that the index holds no more than the segments not yet passed.
    void ForgetIndexBefore(uint32_t i);
    // True when a segment descriptor after the first could not be read (the file shrank or failed), which
    // ends the index there.
    bool IndexFailed() const { return m_indexFailed; }

private:
    bool AppendFragment(const std::function<bool(const uint8_t*, uint32_t)>& append, std::vector<uint8_t>& raw);
    // True when entry i exists, extending the index until it does or the file is indexed to its end.
    bool IndexThrough(uint64_t i) const { return i < m_forgotten + m_index.size() || IndexMore(i); }
    bool IndexMore(uint64_t i) const;
    // Adds the entry of the descriptor d at the next offset.
    void Append(const uint8_t* d) const {
        m_index.push_back(Index{d[0], m_nextOffset});
        Advance(d);
    }
    // Moves the next offset past the segment of the descriptor d.
    void Advance(const uint8_t* d) const {
        m_nextOffset += ((uint32_t{d[1]} << 8) | d[2]) + 3u;
        m_indexComplete = m_nextOffset >= static_cast<uint64_t>(m_length);
    }
    CGspSegment* TakeNextIndexed();
    // The segment object of the type, made at its first use.
    CGspSegment* Kind(uint8_t type) {
        CGspSegment* kind = m_kinds[type].get();
        return kind != nullptr ? kind : MakeKind(type);
    }
    CGspSegment* MakeKind(uint8_t type);
    // Makes the segment of the entry current, parsed (even when its body could not be read).
    void ParseEntry(const Index& entry);

    // One object per segment type, made at the first segment of its type and parsed again for the next
    // ones (Parse starts from a new object's state): no allocation per segment. The current segment is one
    // of them.
    std::unique_ptr<CGspSegment> m_kinds[256];
    CGspSegment* m_current = nullptr;
    mutable std::vector<Index> m_index;  // the entries from segment m_forgotten on
    uint32_t m_forgotten = 0;
    mutable uint64_t m_nextOffset = 0;
    mutable bool m_indexComplete = true;
    mutable bool m_indexFailed = false;
    int64_t m_length = 0;
    uint32_t m_position = 0;
    std::unique_ptr<PRIVATE_LIBRARY::CL_CFile> m_file;
    // The file BuildCompositionFile writes through, kept with its buffer for the next composition.
    std::unique_ptr<PRIVATE_LIBRARY::CL_CFile> m_compositionFile;
};
