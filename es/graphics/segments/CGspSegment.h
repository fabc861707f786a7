// A graphics segment: the 3-byte segment descriptor that every segment kind starts with.
#pragma once

#include <cstdint>
#include <type_traits>
#include <typeinfo>

#include "foundation/CL_CFile.h"

class CGspSegment {
public:
    CGspSegment() = default;
    CGspSegment(const CGspSegment&) = delete;
    CGspSegment& operator=(const CGspSegment&) = delete;
    virtual ~CGspSegment();

    virtual uint64_t GetFileOffset() const { return m_fileOffset; }
    virtual uint8_t GetType() const { return m_segmentType; }
    virtual uint16_t GetLength() const { return m_segmentLength; }
    virtual uint32_t GetTypeOffset() const { return 0; }
    virtual uint32_t GetLengthOffset() const { return 1; }
    virtual uint32_t GetBodyOffset() const { return 3; }
    virtual uint32_t GetTypeSize() const { return 1; }
    virtual uint32_t GetLengthSize() const { return 2; }
    virtual bool ReadHeader(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset);
    // Reads the segment at offset: its descriptor, then its body through ParseBody.
    virtual bool Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset);
    // segment_length + 3: the whole segment, descriptor included.
    virtual uint32_t GetSize() const { return uint32_t{m_segmentLength} + 3; }
    // Reads the whole segment (descriptor included); size must be at least GetSize().
    virtual bool ReadRaw(void* buffer, uint32_t size) const;
    // Parse of the segment at offset when the file stands there and data holds its `buffered` (3 or more)
    // bytes from the file's buffer, as PeekBuffered gave them.
    bool ParseBuffered(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset, const uint8_t* data, uint32_t buffered) {
        SetDescriptor(data, file, offset);
        const int parsed = ParseHeld(data, buffered);
        if (parsed < 0) return ParseCopy(file, offset);
        file->ConsumeBuffered(CGspSegment::GetSize());
        return parsed != 0;
    }

protected:
    PRIVATE_LIBRARY::CL_CFile* GetFile() const { return m_file; }
    // How many bytes from the segment's first byte the body parse reads, once the descriptor is known (at
    // least 3): a list element that starts inside the segment is read whole, past the segment's end.
    virtual uint32_t GetParseExtent() const { return 3; }
    // Takes the fields after the descriptor from the first GetParseExtent() bytes at the segment's offset,
    // of which `delivered` came from the file (the rest, past the end of the file, are 0); true when the
    // fixed fields were all delivered.
    virtual bool ParseBody(const uint8_t* bytes, uint32_t delivered);
    // ParseBody of the first GetParseExtent() bytes of data when the `buffered` bytes there hold them: 1 when the
    // fixed fields were all delivered, 0 when not, -1 (nothing read) when fewer are held. One call per segment:
    // each kind overrides it with ParseHeldHere(), where its own class being final makes both calls direct.
    virtual int ParseHeld(const uint8_t* data, uint32_t buffered) { return ParseHeldHere(data, buffered); }
    int ParseHeldHere(const uint8_t* data, uint32_t buffered) {
        const uint32_t extent = GetParseExtent();
        return buffered < extent ? -1 : ParseBody(data, extent) ? 1 : 0;
    }

private:
    void SetDescriptor(const uint8_t* d, PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
        m_file = file;
        m_fileOffset = offset;
        m_segmentType = d[0];
        m_segmentLength = static_cast<uint16_t>((d[1] << 8) | d[2]);
    }
    // Parse of a segment that does not lie whole in the file's buffer at the file position: its bytes are
    // read into a zero-filled copy.
    bool ParseCopy(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset);

    uint64_t m_fileOffset = 0;
    PRIVATE_LIBRARY::CL_CFile* m_file = nullptr;
    uint8_t m_segmentType = 0;
    uint16_t m_segmentLength = 0;
};

// The segment as its class T, or null when it is of another class (T is final: one type compare).
template <class T>
T* SegmentAs(CGspSegment* segment) {
    static_assert(std::is_final<T>::value, "the segment classes are final");
    return segment != nullptr && typeid(*segment) == typeid(T) ? static_cast<T*>(segment) : nullptr;
}
