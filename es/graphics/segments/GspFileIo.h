// Byte access helpers shared by the graphics segment classes (no class: free inline functions).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "foundation/CL_CFile.h"

namespace gsp_io {

using PRIVATE_LIBRARY::CL_CFile;

// Reads up to n bytes at the file position into dest, which is zero-filled first; returns the bytes delivered.
inline uint32_t ReadZeroFilled(CL_CFile* file, uint8_t* dest, uint32_t n) {
    std::memset(dest, 0, n);
    if (file == nullptr || n == 0) return 0;
    return file->Read(dest, n, n);
}

// The next n bytes at the file position, as ReadZeroFilled delivers them (their count in got): read in place
// in the file's buffer when they are all there, else copied zero-filled into scratch (n bytes).
inline const uint8_t* ReadInPlace(CL_CFile* file, uint8_t* scratch, uint32_t n, uint32_t& got) {
    const uint8_t* data = nullptr;
    if (file != nullptr && n != 0 && file->PeekBuffered(&data) >= n) {
        file->ConsumeBuffered(n);
        got = n;
        return data;
    }
    got = ReadZeroFilled(file, scratch, n);
    return scratch;
}

inline bool SeekTo(CL_CFile* file, uint64_t offset) {
    return file != nullptr && file->Seek(static_cast<int64_t>(offset), 0) == 1;
}

inline uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t Be24(const uint8_t* p) { return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]; }
inline uint32_t Be32(const uint8_t* p) { return (uint32_t{p[0]} << 24) | Be24(p + 1); }
// A 33-bit time value kept as 5 raw bytes: bit 0 of the first byte, then four bytes big-endian.
inline uint64_t Time33(const uint8_t* p) { return (uint64_t{p[0] & 1u} << 32) | Be32(p + 1); }

// Reads `count` elements one after another. An element whose bytes run past the end of the input is
// kept with the missing fields 0; the list stops, with failure, only where an element cannot be created.
template <class T, class Reader>
bool ReadCounted(Reader& in, uint32_t count, std::vector<std::unique_ptr<T>>& out) {
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<T> element(new (std::nothrow) T());
        if (!element) return false;
        element->Parse(in);
        out.push_back(std::move(element));
    }
    return true;
}

// Moves the elements of `out` after the first n to `spare`.
template <class T>
void KeepFirst(size_t n, std::vector<std::unique_ptr<T>>& out, std::vector<std::unique_ptr<T>>& spare) {
    while (out.size() > n) {
        spare.push_back(std::move(out.back()));
        out.pop_back();
    }
}

// Elements one after another while the running offset (advanced by each element's size) stays below
// `end`, each parsed by parseAt(element, offset); the list stops, with failure, only where an element
// cannot be created. Elements already in `out` (from the segment object's previous parse) and in `spare`
// are parsed again instead of new ones, whose Parse must then set every field; the ones left over wait in
// `spare`: no allocation once a stream's counts are met.
template <class T, class ParseAt>
bool ParseElements(uint64_t offset, uint64_t end, std::vector<std::unique_ptr<T>>& out,
                   std::vector<std::unique_ptr<T>>& spare, ParseAt parseAt) {
    size_t n = 0;
    bool ok = true;
    while (offset < end) {
        if (n == out.size()) {
            if (!spare.empty()) {
                out.push_back(std::move(spare.back()));
                spare.pop_back();
            } else {
                std::unique_ptr<T> element(new (std::nothrow) T());
                if (!element) {
                    ok = false;
                    break;
                }
                out.push_back(std::move(element));
            }
        }
        parseAt(*out[n], offset);
        offset += out[n++]->GetSize();
    }
    KeepFirst(n, out, spare);
    return ok;
}

// Elements read one after another from the input; one whose bytes run past its end is kept with the
// missing fields 0.
template <class T, class Reader>
bool ReadBounded(Reader& in, uint64_t offset, uint64_t end, std::vector<std::unique_ptr<T>>& out) {
    std::vector<std::unique_ptr<T>> spare;
    return ParseElements(offset, end, out, spare, [&in](T& e, uint64_t) { e.Parse(in); });
}

// Elements at their offsets in `bytes`, which holds every byte they read.
template <class T>
bool ParseBounded(const uint8_t* bytes, uint32_t offset, uint32_t end, std::vector<std::unique_ptr<T>>& out,
                  std::vector<std::unique_ptr<T>>& spare) {
    return ParseElements(offset, end, out, spare, [bytes](T& e, uint64_t at) { e.Parse(bytes + at); });
}

template <class T>
uint32_t SumSizes(const std::vector<std::unique_ptr<T>>& v) {
    uint32_t n = 0;
    for (const auto& e : v) n += e->GetSize();
    return n;
}

// The element at i, or null at or past the count.
template <class T>
const T* At(const std::vector<std::unique_ptr<T>>& v, uint32_t i) {
    return i < v.size() ? v[i].get() : nullptr;
}

}  // namespace gsp_io
