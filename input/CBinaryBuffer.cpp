#include "input/CBinaryBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "input/InputMessages.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ts_comp {

namespace {

// Widest read of the word-at-a-time path of ReadBits.
constexpr uint32_t kWordReadBits = 56;

// First p in [from, end - 1) with p[0] = p[1] = 0; null when there is none.
const uint8_t* FindZeroPair(const uint8_t* from, const uint8_t* end) {
    const uint8_t* p = from;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    // 64 places a step: byte k | byte k + 1 is 0 only where a pair starts, and the minimum of four such
    // vectors has a zero lane when any of them has. No branch depends on single zero bytes, which are
    // frequent in coded data; the block holding a pair is then searched 32 bytes at a time below.
    while (end - p >= 65) {
        const auto pairs = [p](int k) {
            return _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1)));
        };
        const __m128i least = _mm_min_epu8(_mm_min_epu8(pairs(0), pairs(1)), _mm_min_epu8(pairs(2), pairs(3)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(least, zero)) != 0) break;
        p += 64;
    }
    while (end - p >= 33) {
        const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 17));
        const auto m0 = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a0, zero), _mm_cmpeq_epi8(b0, zero))));
        const auto m1 = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a1, zero), _mm_cmpeq_epi8(b1, zero))));
        const uint32_t mask = m0 | (m1 << 16);
        if (mask != 0) return p + __builtin_ctz(mask);
        p += 32;
    }
#endif
    for (; end - p >= 2; ++p) {
        if (p[0] == 0 && p[1] == 0) return p;
    }
    return nullptr;
}

// First byte in [p, end) that is not 0, or end: 64 bytes a step while all are zero, then 16, then 8.
const uint8_t* SkipZeros(const uint8_t* p, const uint8_t* end) {
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
        const __m128i any = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, zero)) != 0xFFFF) break;
        p += 64;
    }
    while (end - p >= 16) {
        const auto nonZero = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), zero)) ^ 0xFFFF);
        if (nonZero != 0) return p + __builtin_ctz(nonZero);
        p += 16;
    }
#endif
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    while (end - p >= 8) {
        uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        if (word != 0) return p + __builtin_ctzll(word) / 8;
        p += 8;
    }
#endif
    while (p != end && *p == 0) ++p;
    return p;
}

// First p in [from, last) with p[0] = hi and p[1] = lo, or null; hiCount grows by the hi bytes before it
// (all of [from, last) when there is none).
const uint8_t* FindPair(const uint8_t* from, const uint8_t* last, uint8_t hi, uint8_t lo, uint64_t& hiCount) {
    const uint8_t* p = from;
#ifdef __SSE2__
    const __m128i vhi = _mm_set1_epi8(static_cast<char>(hi));
    const __m128i vlo = _mm_set1_epi8(static_cast<char>(lo));
    // 64 bytes at a time: one mask of hi bytes, one of lo bytes one place further.
    while (last - p >= 64) {
        uint64_t his = 0;
        uint64_t los = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
            his |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, vhi)))) << (16 * k);
            los |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, vlo)))) << (16 * k);
        }
        const uint64_t pairs = his & los;
        if (pairs != 0) {
            const int at = __builtin_ctzll(pairs);
            hiCount += static_cast<uint64_t>(__builtin_popcountll(his & ((uint64_t{1} << at) - 1u)));
            return p + at;
        }
        if (his != 0) hiCount += static_cast<uint64_t>(__builtin_popcountll(his));
        p += 64;
    }
    while (last - p >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const auto his = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, vhi)));
        const uint32_t pairs = his & static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, vlo)));
        if (pairs != 0) {
            const int at = __builtin_ctz(pairs);
            hiCount += static_cast<uint64_t>(__builtin_popcount(his & ((1u << at) - 1u)));
            return p + at;
        }
        if (his != 0) hiCount += static_cast<uint64_t>(__builtin_popcount(his));
        p += 16;
    }
#endif
    while (p < last) {
        const void* hit = std::memchr(p, hi, static_cast<size_t>(last - p));
        if (hit == nullptr) return nullptr;
        p = static_cast<const uint8_t*>(hit);
        if (p[1] == lo) return p;
        ++hiCount;
        ++p;
    }
    return nullptr;
}

// FindPair for a search whose counter cannot reach its limit: the hi bytes go uncounted, and a 64-byte
// block costs one mask test unless a pair lies in it.
const uint8_t* FindPairUncounted(const uint8_t* from, const uint8_t* last, uint8_t hi, uint8_t lo) {
    const uint8_t* p = from;
#ifdef __SSE2__
    const __m128i vhi = _mm_set1_epi8(static_cast<char>(hi));
    const __m128i vlo = _mm_set1_epi8(static_cast<char>(lo));
    while (last - p >= 64) {
        __m128i pairs[4];
        for (int k = 0; k < 4; ++k) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
            pairs[k] = _mm_and_si128(_mm_cmpeq_epi8(a, vhi), _mm_cmpeq_epi8(b, vlo));
        }
        const __m128i any = _mm_or_si128(_mm_or_si128(pairs[0], pairs[1]), _mm_or_si128(pairs[2], pairs[3]));
        if (_mm_movemask_epi8(any) != 0) {
            for (int k = 0; k < 4; ++k) {
                const int mask = _mm_movemask_epi8(pairs[k]);
                if (mask != 0) return p + 16 * k + __builtin_ctz(static_cast<unsigned>(mask));
            }
        }
        p += 64;
    }
#endif
    uint64_t uncounted = 0;
    return FindPair(p, last, hi, lo, uncounted);
}

}  // namespace

const char* CBinaryBuffer::BinaryBufferException::what() const noexcept {
    return input_messages::kBinaryBufferExceptionText;
}

const char* CBinaryBuffer::BinaryBufferReadException::what() const noexcept {
    return input_messages::kBinaryBufferReadExceptionText;
}

CBinaryBuffer::CBinaryBuffer() : CBinaryBuffer(false) {}

CBinaryBuffer::CBinaryBuffer(bool removeEmulationPrevention) : m_removeEmulation(removeEmulationPrevention) {}

CBinaryBuffer::~CBinaryBuffer() {
    DropWindow();
    m_reader.Close();
}

bool CBinaryBuffer::Open(const char* path) {
    Close();
    const bool opened = m_reader.Open(path);
    if (opened) m_bitPos = 8;
    return opened;
}

void CBinaryBuffer::Close() {
    DropWindow();
    m_reader.Close();
}

// The reader is told how far the window was consumed only when something else needs its position.
void CBinaryBuffer::Sync() {
    if (m_cur == m_base) return;
    if (m_cur > m_base) {
        m_reader.ConsumeBuffered(static_cast<uint32_t>(m_cur - m_base));
    } else {
        // A step back inside the window: the bytes are still in the file's read-ahead.
        m_reader.Seek(m_cur - m_base, 1);
    }
    m_base = m_cur;
}

void CBinaryBuffer::DropWindow() {
    m_winStart = m_base = m_cur = m_end = nullptr;
    m_winPos = 0;
}

bool CBinaryBuffer::Refill() {
    Sync();
    const uint8_t* data = nullptr;
    const uint32_t count = m_reader.PeekBuffered(&data);
    if (count == 0) {
        // Nothing buffered: an ordinary one-byte read records the end-of-file or error state exactly.
        if (m_reader.Read(&m_spare, 1) != 1) {
            DropWindow();
            return false;
        }
        m_winStart = m_cur = &m_spare;
        m_base = m_end = &m_spare + 1;
        m_winPos = m_reader.Tell() - 1;
        return true;
    }
    m_winStart = m_base = m_cur = data;
    m_end = data + count;
    m_winPos = m_reader.Tell();
    return true;
}

bool CBinaryBuffer::RefillAndFetch(uint8_t& b) {
    if (!Refill()) return false;
    b = *m_cur++;
    m_bitPos = 8;
    return true;
}

bool CBinaryBuffer::SeekInWindow(int64_t target) {
    if (m_winStart == nullptr || target < m_winPos || target - m_winPos > m_end - m_winStart) return false;
    m_cur = m_winStart + (target - m_winPos);
    return true;
}

int64_t CBinaryBuffer::GetSize() {
    const int64_t position = Tell();
    Seek(0, 0);
    const int64_t start = Tell();
    Seek(0, 2);
    const int64_t end = Tell();
    Seek(position, 0);
    return end - start > 0 ? end - start : 0;
}

uint32_t CBinaryBuffer::ReadBytes(void* buffer, uint32_t count) { return ReadRawBytes(buffer, count); }

uint32_t CBinaryBuffer::ReadRawBytes(void* buffer, uint32_t count) {
    m_bitPos = 8;
    uint8_t* dest = static_cast<uint8_t*>(buffer);
    const auto inWindow = static_cast<size_t>(m_end - m_cur);
    if (count != 0 && count <= inWindow) {
        std::memcpy(dest, m_cur, count);
        m_cur += count;
        return count;
    }
    if (count == 0) {
        Sync();
        return m_reader.Read(dest, 0);
    }
    // Small reads go through the window so that it stays established; large ones let the reader copy.
    uint32_t done = 0;
    for (;;) {
        const auto take = static_cast<uint32_t>(std::min<size_t>(count - done, static_cast<size_t>(m_end - m_cur)));
        if (take != 0) {
            std::memcpy(dest + done, m_cur, take);
            m_cur += take;
            done += take;
        }
        if (done == count) return done;
        if (count - done >= input_messages::kDirectReadThreshold) {
            Sync();
            DropWindow();
            return done + m_reader.Read(dest + done, count - done);
        }
        if (!Refill()) return done;
    }
}

uint8_t CBinaryBuffer::ReadByte() {
    uint8_t b;
    if (!TryFetchRaw(b)) throw BinaryBufferReadException();
    return b;
}

uint8_t CBinaryBuffer::ReadByteWithoutEmulation() {
    uint8_t b;
    if (!TryFetchWithoutEmulation(b)) throw BinaryBufferReadException();
    return b;
}

uint32_t CBinaryBuffer::ReadBytesWithoutEmulation(void* buffer, uint32_t count) {
    uint8_t* dest = static_cast<uint8_t*>(buffer);
    for (uint32_t i = 0; i < count; ++i) {
        if (!TryFetchWithoutEmulation(dest[i])) throw BinaryBufferReadException();
    }
    return count;
}

uint32_t CBinaryBuffer::PeekBytes(void* buffer, uint32_t count) {
    const int64_t position = Tell();
    const uint32_t delivered = ReadBytes(buffer, count);
    Seek(position, 0);
    return delivered;
}

bool CBinaryBuffer::Seek(int64_t offset, int origin) {
    m_bitPos = 8;
    if (origin != 1 && origin != 2) origin = 0;
    if (m_winStart != nullptr) {
        if (origin == 0 && SeekInWindow(offset)) return true;
        const int64_t here = m_winPos + (m_cur - m_winStart);
        int64_t target = 0;
        if (origin == 1 && !__builtin_add_overflow(here, offset, &target) && SeekInWindow(target)) return true;
        // Past the window's end the reader is handed the whole window first: with no read-ahead left to give
        // back, it moves with one system call instead of two.
        if (origin == 0 && offset > m_winPos + (m_end - m_winStart)) m_cur = m_end;
    }
    Sync();
    DropWindow();
    return m_reader.Seek(offset, origin);
}

uint32_t CBinaryBuffer::ReadBits(uint64_t* out, uint32_t count) {
    if (!m_removeEmulation && count - 1 < kWordReadBits && m_end - m_cur >= 8) {
        // Up to 56 bits: the unread bits of the current byte, then the top of the next 8 bytes.
        const uint32_t left = m_bitPos < 8 ? 8u - static_cast<uint32_t>(m_bitPos) : 0u;
        if (count <= left) {
            *out = (uint32_t{m_currentByte} >> (left - count)) & ((1u << count) - 1u);
            m_bitPos += static_cast<int>(count);
            return count;
        }
        uint64_t word;
        std::memcpy(&word, m_cur, sizeof word);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        const uint32_t need = count - left;
        const uint32_t bytes = (need + 7) / 8;
        *out = (uint64_t{m_currentByte & ((1u << left) - 1u)} << need) | (word >> (64 - need));
        m_cur += bytes;
        m_currentByte = m_cur[-1];
        m_bitPos = static_cast<int>(8 - (8 * bytes - need));
        return count;
    }
    if (m_bitPos >= 8 && !m_removeEmulation && count != 0 && count <= 64 && (count & 7u) == 0 &&
        static_cast<size_t>(m_end - m_cur) >= count / 8) {
        // Whole bytes out of the window; the last one stays the current byte with all its bits used.
        const uint8_t* p = m_cur;
        uint64_t value = 0;
        for (uint32_t i = 0; i < count / 8; ++i) value = (value << 8) | p[i];
        m_cur = p + count / 8;
        m_currentByte = m_cur[-1];
        *out = value;
        return count;
    }
    return ReadBitsLoop(out, count);
}

// Bit by bit in runs of the current byte; kept apart so that the whole-byte path above stays small.
__attribute__((noinline)) uint32_t CBinaryBuffer::ReadBitsLoop(uint64_t* out, uint32_t count) {
    uint64_t value = 0;
    uint32_t done = 0;
    while (done < count) {
        if (m_bitPos >= 8) {
            uint8_t b;
            if (!TryFetch(b)) {
                *out = value;
                return done;
            }
            m_currentByte = b;
            m_bitPos = 0;
        }
        // Take as many bits of the current byte as are still wanted.
        const uint32_t take = std::min<uint32_t>(8u - static_cast<uint32_t>(m_bitPos), count - done);
        const uint32_t bits = (static_cast<uint32_t>(m_currentByte) >> (8u - static_cast<uint32_t>(m_bitPos) - take)) &
                              ((1u << take) - 1u);
        value = (value << take) | bits;
        m_bitPos += static_cast<int>(take);
        done += take;
    }
    *out = value;
    return count;
}

uint8_t CBinaryBuffer::ReadBit() {
    if (m_bitPos >= 8) {
        uint8_t b;
        if (!TryFetch(b)) throw BinaryBufferException();
        m_currentByte = b;
        m_bitPos = 0;
    }
    const uint8_t bit = static_cast<uint8_t>((m_currentByte >> (7 - m_bitPos)) & 1u);
    ++m_bitPos;
    return bit;
}

// No class overrides ReadBits, so the call need not be virtual.
uint64_t CBinaryBuffer::GetBits(uint32_t count) {
    uint64_t value = 0;
    if (CBinaryBuffer::ReadBits(&value, count) < count) throw BinaryBufferReadException();
    return value;
}

uint32_t CBinaryBuffer::PeekBits(uint64_t* out, uint32_t count) {
    const uint8_t savedByte = m_currentByte;
    const int savedBitPos = m_bitPos;
    const uint32_t bitsLeft = m_bitPos < 8 ? 8u - static_cast<uint32_t>(m_bitPos) : 0u;
    const uint64_t bytesNeeded = count > bitsLeft ? (uint64_t{count} - bitsLeft + 7) / 8 : 0;
    // Each delivered byte takes at most two file bytes when emulation-prevention bytes are dropped.
    const uint64_t fileBytesNeeded = m_removeEmulation ? 2 * bytesNeeded : bytesNeeded;
    if (fileBytesNeeded <= static_cast<uint64_t>(m_end - m_cur)) {
        // Everything lies in the window: read and step back without touching the reader. The step back
        // ends the zero run as a seek does.
        const uint8_t* savedCur = m_cur;
        const uint32_t got = CBinaryBuffer::ReadBits(out, count);
        m_cur = savedCur;
        m_zeroCount = 0;
        m_currentByte = savedByte;
        m_bitPos = savedBitPos;
        return got;
    }
    const int64_t position = Tell();
    const uint32_t got = ReadBits(out, count);
    Seek(position, 0);
    m_currentByte = savedByte;
    m_bitPos = savedBitPos;
    return got;
}

bool CBinaryBuffer::SearchCode(uint16_t code) {
    return SearchCodeWithin(code, static_cast<uint64_t>(std::numeric_limits<int64_t>::max()));
}

// The byte pair hi, lo is looked for with a one-byte automaton: after hi, a byte other than lo is
// stepped back over and examined again, and the counter counts every examination.
bool CBinaryBuffer::SearchCodeWithin(uint16_t code, uint64_t limit) {
    const auto hi = static_cast<uint8_t>(code >> 8);
    const auto lo = static_cast<uint8_t>(code & 0xFF);
    uint8_t b = 0;
    if (ReadBytes(&b, 1) == 0) return false;
    bool hiSeen = false;
    uint64_t counter = 0;
    for (;;) {
        if (counter >= limit) return false;
        if (!hiSeen && !m_removeEmulation && m_winStart != nullptr && m_cur > m_winStart && m_cur < m_end &&
            limit - counter > 2 * static_cast<uint64_t>(m_end - m_cur) + 4) {
            // Bulk form over the window. The current byte sits at m_cur - 1. Every byte is examined once,
            // and once more when the byte before it is hi; the pair is found at the first hi followed by lo.
            const uint8_t* first = m_cur - 1;
            const uint8_t* last = m_end - 1;
            // Files stay below 2^61 bytes, so a counter that far from its limit never reaches it.
            uint64_t hiCount = 0;
            const uint8_t* pair = limit - counter > (uint64_t{1} << 62) ? FindPairUncounted(first, last, hi, lo)
                                                                        : FindPair(first, last, hi, lo, hiCount);
            if (pair != nullptr) {
                m_cur = pair;
                m_bitPos = 8;
                return true;
            }
            // No pair ends inside the window: continue with its last byte as the current one.
            const bool lastFollowsHi = last[-1] == hi;
            counter += static_cast<uint64_t>(last - first) + hiCount - (lastFollowsHi ? 1 : 0);
            hiSeen = lastFollowsHi;
            b = *last;
            m_cur = m_end;
            continue;
        }
        if (!hiSeen) {
            if (b == hi) hiSeen = true;
        } else {
            if (b == lo) {
                Seek(-2, 1);
                return true;
            }
            Seek(-1, 1);
            hiSeen = false;
        }
        ++counter;
        if (ReadBytes(&b, 1) == 0) return false;
    }
}

void CBinaryBuffer::ByteAlign() {
    if (m_bitPos != 0) m_bitPos = 8;
}

uint64_t CBinaryBuffer::SkipBytes(uint64_t count) {
    m_bitPos = 8;
    uint64_t done = 0;
    for (;;) {
        const uint64_t take = std::min<uint64_t>(count - done, static_cast<uint64_t>(m_end - m_cur));
        m_cur += take;
        done += take;
        if (done == count || !Refill()) return done;
    }
}

bool CBinaryBuffer::ScanStartCodePrefix(uint32_t& zeros, uint8_t& value) {
    m_bitPos = 8;
    uint32_t run = zeros;
    for (;;) {
        if (m_cur == m_end && !Refill()) {
            zeros = run;
            return false;
        }
        const uint8_t* p = m_cur;
        const uint8_t* const end = m_end;
        while (p != end) {
            if (*p == 0) {
                // A zero run is counted in one step; the count wraps as one added per byte would.
                const uint8_t* const next = SkipZeros(p + 1, end);
                run += static_cast<uint32_t>(next - p);
                p = next;
                continue;
            }
            const uint8_t c = *p++;
            if (run >= 2) {
                m_cur = p;
                zeros = run;
                value = c;
                return true;
            }
            run = 0;
            // The run is 0 here, and only two zeros in a row can start the next prefix. Without a pair the
            // scan resumes two bytes before the end so that a run reaching into the next window is counted.
            const uint8_t* pair = FindZeroPair(p, end);
            if (pair == nullptr) pair = end - p > 2 ? end - 2 : p;
            p = pair;
        }
        m_cur = end;
    }
}

}  // namespace ts_comp
