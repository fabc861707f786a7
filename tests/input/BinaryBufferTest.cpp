// Bit buffer: bit and byte reads, end-of-file exceptions, emulation-prevention removal, seeks, peeks,
// searches, and the bulk scans compared with their byte-at-a-time models; the ES file reader without a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <tuple>
#include <typeinfo>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CBinaryBufferForAvc.h"
#include "input/CBinaryBufferForVc1.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "support/KivReader.h"

namespace {

using ts_comp::CBinaryBuffer;
using ts_comp::es::CEsFileReader;
using ReadError = CBinaryBuffer::BinaryBufferReadException;
using Bytes = std::vector<uint8_t>;

constexpr size_t kWindow = 262144;
constexpr uint64_t kNoLimit = static_cast<uint64_t>(INT64_MAX);

enum class Kind { Plain, Avc, Vc1 };

// Bytes of `letters`, the first one drawn with the given percentage.
Bytes Random(unsigned seed, size_t size, unsigned firstPercent, const Bytes& letters) {
    std::mt19937 rng(seed);
    Bytes b(size);
    for (auto& x : b) x = rng() % 100 < firstPercent ? letters[0] : letters[1 + rng() % (letters.size() - 1)];
    return b;
}

// The one-byte automaton of the search: after hi, a byte other than lo is stepped back over and examined
// again; every examination counts against the limit. Gives found, the position after, the examinations.
std::tuple<bool, int64_t, uint64_t> ReferenceSearch(const Bytes& bytes, size_t start, uint16_t code, uint64_t limit) {
    const auto end = static_cast<int64_t>(bytes.size());
    if (start >= bytes.size()) return {false, end, 0};
    size_t pos = start + 1;
    uint8_t b = bytes[start];
    bool hiSeen = false;
    for (uint64_t counter = 0;; ++counter) {
        if (counter >= limit) return {false, static_cast<int64_t>(pos), counter};
        if (hiSeen && b == (code & 0xFF)) return {true, static_cast<int64_t>(pos - 2), counter};
        if (hiSeen) --pos;
        hiSeen = !hiSeen && b == code >> 8;
        if (pos >= bytes.size()) return {false, end, counter + 1};
        b = bytes[pos++];
    }
}

// The start-code prefix scan byte by byte: found, the position after, the zero run, the value.
std::tuple<bool, int64_t, uint32_t, uint8_t> ReferencePrefixScan(const Bytes& bytes, size_t pos, uint32_t zeros) {
    for (; pos < bytes.size(); ++pos) {
        if (bytes[pos] != 0 && zeros >= 2) return {true, static_cast<int64_t>(pos + 1), zeros, bytes[pos]};
        zeros = bytes[pos] == 0 ? zeros + 1 : 0;
    }
    return {false, static_cast<int64_t>(bytes.size()), zeros, 0};
}

class Buffer : public ::testing::Test {
protected:
    std::unique_ptr<CBinaryBuffer> Open(const Bytes& bytes, Kind kind = Kind::Plain) {
        std::unique_ptr<CBinaryBuffer> b = std::make_unique<CBinaryBuffer>();
        if (kind == Kind::Avc) b = std::make_unique<ts_comp::es::avc_video::CBinaryBufferForAvc>();
        if (kind == Kind::Vc1) b = std::make_unique<ts_comp::es::vc1_video::CBinaryBufferForVc1>();
        EXPECT_TRUE(b->Open(m_dir.Write("es" + std::to_string(m_files++), bytes).c_str()));
        return b;
    }
    kiv_test::TempDir m_dir;
    int m_files = 0;
};

// ReadBit at the end throws the base exception, the other reads the read exception.
TEST_F(Buffer, EndOfFile) {
    auto b = Open({0xA5});
    EXPECT_EQ(b->GetBits(7), 0x52u);
    EXPECT_EQ(b->ReadBit(), 1);
    try {
        b->ReadBit();
        ADD_FAILURE() << "no exception";
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        EXPECT_TRUE(typeid(e) == typeid(CBinaryBuffer::BinaryBufferException));
    }
    EXPECT_THROW(b->ReadByte(), ReadError);
    EXPECT_FALSE(b->Seek(-5, 0));
}

// Random calls from random places in files around the window size, against the file's bits: bit reads of
// every width (past 64 the first bits shift out) and offset, peeks that move nothing, byte operations that
// drop the unread bits of the current byte, reads past the window, views, skips, seeks from every origin
// (an unknown one counts from the start). The position is checked after each call.
TEST_F(Buffer, CallsFollowTheFilesBits) {
    std::mt19937 rng(5);
    Bytes got(70000);
    const uint32_t counts[] = {0, 1, 3, 8, 13, 64, 68, 1000, 70000};
    for (uint64_t size : {size_t{0}, size_t{1}, size_t{2}, kWindow, kWindow + 1, 2 * kWindow + 100}) {
        Bytes bytes(size);  // never zero, so emulation prevention never applies
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(1 + (i * 7 + i / 251) % 255);
        auto b = Open(bytes);
        // The file's bits [from, from + count); past 64 the last 64 of them.
        const auto bits = [&](uint64_t from, uint64_t count) {
            const uint64_t low = std::min<uint64_t>(count, 64);
            return kiv_test::KivBits(bytes.data(), static_cast<unsigned>(from + count - low), static_cast<unsigned>(low));
        };
        for (uint64_t step = 0, bit = 0; step < 1500; ++step) {
            const uint32_t n = counts[rng() % 9];
            const uint64_t at = (bit + 7) / 8, bitsFound = std::min<uint64_t>(n, size * 8 - bit);
            const uint64_t bytesFound = std::min<uint64_t>(n, size - at);  // for a byte operation, from `at`
            const auto op = rng() % 10;
            SCOPED_TRACE("size " + std::to_string(size) + " step " + std::to_string(step) + " op " + std::to_string(op));
            uint64_t v = 0;
            const uint8_t* data = nullptr;
            switch (op) {
                case 0:
                    if (bitsFound < n) {
                        EXPECT_THROW(b->GetBits(n), ReadError);
                    } else {
                        EXPECT_EQ(b->GetBits(n), bits(bit, n));
                    }
                    bit += bitsFound;
                    break;
                case 1:
                case 2:
                    ASSERT_EQ(op == 1 ? b->ReadBits(&v, n) : b->PeekBits(&v, n), bitsFound);
                    ASSERT_EQ(v, bits(bit, bitsFound));
                    bit += op == 1 ? bitsFound : 0;
                    break;
                case 3:
                    if (bit < size * 8) {
                        EXPECT_EQ(b->ReadBit(), bits(bit++, 1));
                    }
                    break;
                case 4:
                case 5:
                    ASSERT_EQ(op == 4 ? b->ReadBytes(got.data(), n) : b->PeekBytes(got.data(), n), bytesFound);
                    ASSERT_TRUE(std::equal(got.begin(), got.begin() + bytesFound, bytes.begin() + at));
                    bit = (at + (op == 4 ? bytesFound : 0)) * 8;
                    break;
                case 6: {
                    const uint32_t m = b->PeekBuffered(&data);
                    ASSERT_EQ(m == 0, at == size);
                    ASSERT_LE(m, size - at);
                    ASSERT_TRUE(std::equal(data, data + m, bytes.begin() + at));
                    b->ConsumeBuffered(std::min(n, m));
                    bit = (at + std::min(n, m)) * 8;
                    break;
                }
                case 7:
                    EXPECT_EQ(b->SkipBytes(n), bytesFound);
                    bit = (at + bytesFound) * 8;
                    break;
                case 8:
                    if (at == size) {
                        EXPECT_THROW(b->ReadByte(), ReadError);
                    } else {
                        EXPECT_EQ(b->ReadByte(), bytes[at]);
                    }
                    EXPECT_EQ(b->GetSize(), static_cast<int64_t>(size));
                    b->ByteAlign();
                    bit = (at + (at < size ? 1 : 0)) * 8;
                    break;
                default: {
                    const int64_t w = kWindow, end = static_cast<int64_t>(size), here = static_cast<int64_t>(at);
                    const int64_t targets[] = {0, 1, w - 1, w, w + 1, end - 1, end, here - 1, here + 1};
                    const int64_t target = std::clamp<int64_t>(targets[rng() % 9], 0, end), origin = rng() % 4;
                    ASSERT_TRUE(b->Seek(target - (origin == 1 ? here : origin == 2 ? end : 0), static_cast<int>(origin)));
                    bit = static_cast<uint64_t>(target) * 8;
                }
            }
            ASSERT_EQ(b->Tell(), static_cast<int64_t>((bit + 7) / 8));
        }
    }
}

// In the unescaping buffers a seek or a peek ends the run of delivered zeros, in the window and where the
// peek rereads the file.
TEST_F(Buffer, SeeksAndPeeksEndTheZeroRun) {
    for (Kind kind : {Kind::Avc, Kind::Vc1}) {
        auto b = Open({0x00, 0x00, 0x03, 0x01}, kind);
        b->GetBits(16);
        ASSERT_TRUE(b->Seek(2, 0));
        EXPECT_EQ(b->ReadByte(), 0x03) << "after a seek the 0x03 follows no delivered zeros";
        for (size_t lead : {size_t{0}, kWindow - 2, kWindow - 6}) {  // the second peek crosses the window at W - 6
            Bytes file(lead, 0x11);
            file.insert(file.end(), {0x00, 0x00, 0x03, 0x01, 0x00, 0x03, 0x00, 0x00, 0x11, 0x11, 0x11, 0x11});
            b = Open(file, kind);
            ASSERT_TRUE(b->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(b->GetBits(16), 0u);
            uint64_t v = 0;
            EXPECT_EQ(b->PeekBits(&v, 8), 8u);
            EXPECT_EQ(v, 0x01u) << "the peek itself drops the emulation byte";
            EXPECT_EQ(b->ReadByte(), 0x03) << "but it ended the run";
            EXPECT_EQ(b->GetBits(16), 0x0100u);
            EXPECT_EQ(b->PeekBits(&v, 24), 24u);
            EXPECT_EQ(v, 0x030000u);
            EXPECT_EQ(b->ReadByte(), 0x03) << "a peek ending on two zeros leaves them uncounted";
        }
    }
}

// SearchCodeWithin: where it stops and what it answers, for the plain and the unescaping buffer.
TEST_F(Buffer, SearchCodeTable) {
    const struct { Bytes bytes; uint16_t code; uint64_t limit; bool found; int64_t position; } cases[] = {
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, kNoLimit, true, 2}, {{0x00, 0x00, 0x00, 0x01}, 0x0001, 6, true, 2},
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, 5, false, 4},  // bytes after hi are examined twice
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, 0, false, 1},       {{0x7F, 0x7F, 0xFF, 0x00}, 0x7FFF, kNoLimit, true, 1},
        {{0x0B, 0x78, 0x0B}, 0x0B77, kNoLimit, false, 3},      {{0x00, 0x00}, 0x0000, 1, false, 2},
        {{0x00, 0x00}, 0x0000, 2, true, 0},                    {{}, 0x0001, kNoLimit, false, 0},
    };
    for (const auto& c : cases) {
        for (Kind kind : {Kind::Plain, Kind::Avc}) {
            auto b = Open(c.bytes, kind);
            try {
                EXPECT_EQ(b->SearchCodeWithin(c.code, c.limit), c.found) << c.code << " " << c.limit;
                EXPECT_EQ(b->Tell(), c.position) << c.code << " " << c.limit;
            } catch (const ReadError&) {
                EXPECT_TRUE(kind == Kind::Avc && !c.found) << "only the unescaping reads throw at the end";
            }
        }
    }
}

// The bulk search against the automaton: from several starts, with limits around the exact examination
// count, over bytes of 0x00, 0x01 and 0x7F (many near misses) with pairs planted at and across window edges.
TEST_F(Buffer, BulkSearchGivesTheAutomatonsPositions) {
    for (uint16_t code : {0x0001, 0x0000, 0x7F01, 0x0100}) {
        const auto hi = static_cast<uint8_t>(code >> 8), lo = static_cast<uint8_t>(code);
        Bytes bytes = Random(code, 3 * kWindow + 600, 33, {0x00, 0x01, 0x7F});
        for (size_t i = 0; i + 1 < bytes.size(); ++i) {
            if (bytes[i] == hi && bytes[i + 1] == lo) bytes[i + 1] = 0x55;
        }
        for (size_t end : {kWindow, 2 * kWindow}) {  // windows end on hi, hi and the next one opens with hi
            if (hi == lo) break;
            bytes[end - 2] = bytes[end - 1] = bytes[end] = hi;
            if (bytes[end + 1] == lo) bytes[end + 1] = 0x55;
        }
        for (size_t at : {size_t{5000}, kWindow - 1, 3 * kWindow + 200}) bytes[at] = hi, bytes[at + 1] = lo;
        auto b = Open(bytes);
        for (size_t start : {size_t{0}, size_t{5003}, kWindow - 10, kWindow + 100, bytes.size() - 1}) {
            const uint64_t exact = std::get<2>(ReferenceSearch(bytes, start, code, kNoLimit));
            for (uint64_t limit : {kNoLimit, uint64_t{3}, uint64_t{7000}, uint64_t{600000}, exact + 1, exact, exact - 1}) {
                SCOPED_TRACE(std::to_string(code) + " " + std::to_string(start) + " " + std::to_string(limit));
                const auto [found, position, counter] = ReferenceSearch(bytes, start, code, limit);
                ASSERT_TRUE(b->Seek(static_cast<int64_t>(start), 0));
                EXPECT_EQ(b->SearchCodeWithin(code, limit), found);
                EXPECT_EQ(b->Tell(), position);
            }
        }
    }
}

// Emulation-prevention removal in both unescaping buffers, by bytes, bits and bulk reads.
TEST_F(Buffer, EscapesAreDropped) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x00, 0x00, 0x03, 0x01}, {0x00, 0x00, 0x01}},
        {{0x00, 0x00, 0x03, 0x00, 0x00, 0x03, 0x01}, {0x00, 0x00, 0x00, 0x00, 0x01}},
        {{0x00, 0x03, 0x01}, {0x00, 0x03, 0x01}},
        {{0x00, 0x00, 0x00, 0x03, 0x02}, {0x00, 0x00, 0x00, 0x02}},
        {{0x00, 0x00, 0x03, 0x03, 0x03}, {0x00, 0x00, 0x03, 0x03}},
        {{0x00, 0x00, 0x03}, {0x00, 0x00}},
        {{0x00, 0x00, 0x03, 0x00, 0x03, 0x05}, {0x00, 0x00, 0x00, 0x03, 0x05}},
    };
    for (const auto& [file, delivered] : cases) {
        for (Kind kind : {Kind::Avc, Kind::Vc1}) {
            auto b = Open(file, kind);
            Bytes viaByte, viaBits, viaBytes(delivered.size());
            try {
                for (;;) viaByte.push_back(b->ReadByte());
            } catch (const ReadError&) {
            }
            ASSERT_TRUE(b->Seek(0, 0));
            for (uint64_t v = 0; b->ReadBits(&v, 8) == 8;) viaBits.push_back(static_cast<uint8_t>(v));
            ASSERT_TRUE(b->Seek(0, 0));
            EXPECT_EQ(b->ReadBytes(viaBytes.data(), static_cast<uint32_t>(viaBytes.size())), viaBytes.size());
            EXPECT_EQ(viaByte, delivered);
            EXPECT_EQ(viaBits, delivered);
            EXPECT_EQ(viaBytes, delivered);
            EXPECT_THROW(b->ReadBytes(viaBytes.data(), 1), ReadError);
        }
    }
    auto plain = Open({0x00, 0x00, 0x03, 0x01});
    EXPECT_EQ(plain->GetBits(32), 0x00000301u) << "the plain buffer keeps them";
}

// Appends `zeros` zero bytes and then `value`, after filler 0x47 up to `at`.
Bytes& ZeroRun(Bytes& b, size_t zeros, uint8_t value, size_t at = 0) {
    b.resize(std::max(at, b.size()), 0x47);
    b.insert(b.end(), zeros, 0);
    b.push_back(value);
    return b;
}

// Start-code prefix scan over zero runs: every call gives the positions, zero counts and values of the
// byte-at-a-time model, for runs of every length, across window edges and from unaligned starts.
TEST_F(Buffer, ZeroRunScanMatchesTheByteModel) {
    Bytes everyRun, edges, stuffed, singleZeros(kWindow + 77, 0);
    for (size_t n = 0; n < 200; ++n) ZeroRun(everyRun, n, static_cast<uint8_t>(1 + n % 5));
    for (size_t edge : {kWindow, 2 * kWindow}) {  // ending just before, on and after each edge; longer than a window
        for (size_t back : {1, 2, 3, 17, 64, 65}) ZeroRun(edges, 40, 0x01, edge - back - 40);
        ZeroRun(edges, 130, 0xB3, edge - 3);
    }
    ZeroRun(edges, kWindow + 100, 0x01).insert(edges.end(), 70, 0);
    for (std::mt19937 rng(11); stuffed.size() < 3 * kWindow;) {  // stuffing before start codes
        for (int i = 0; i < 300; ++i) stuffed.push_back(static_cast<uint8_t>(1 + rng() % 255));
        ZeroRun(stuffed, 2 + rng() % 5000, rng() % 2 == 0 ? 0x01 : 0xB8);
    }
    for (size_t i = 1; i < singleZeros.size(); i += 2) singleZeros[i] = 0x01;
    Bytes strided(kWindow + 500, 0xFF);  // a start code every 67 bytes: at every place of a 64-byte block
    for (size_t i = 3; i + 3 < strided.size(); i += 67) strided[i] = strided[i + 1] = 0, strided[i + 2] = 1;
    const Bytes sparse = Random(3, 2 * kWindow + 50, 25, {0, 1, 2, 3});
    const struct { Bytes bytes; size_t start; uint32_t carried; Kind kind; } cases[] = {  // start: file position
        {sparse, 0, 0, Kind::Plain}, {sparse, 0, 0, Kind::Avc},  // the AVC buffer keeps its escapes here
        {Random(5, 2 * kWindow + 9, 90, {0, 1, 2, 3}), 13, 0, Kind::Plain}, {everyRun, 0, 0, Kind::Plain},
        {edges, 0, 0, Kind::Plain}, {edges, 31, 0, Kind::Plain}, {stuffed, 5, 0, Kind::Plain},
        {singleZeros, 0, 0, Kind::Plain}, {Bytes(kWindow + 1000, 0), 0, 0, Kind::Plain}, {strided, 1, 0, Kind::Plain},
        {{0x07, 0x00, 0x01}, 0, 2, Kind::Plain},  // the carried run ends at the first byte
        {{0x00, 0x01, 0x00, 0x00, 0x01}, 0, 0xFFFFFFFFu, Kind::Plain},  // the carried count wraps
        {{}, 0, 9, Kind::Plain},  // an empty file keeps the carried run
    };
    for (const auto& c : cases) {
        auto buffer = Open(c.bytes, c.kind);
        ASSERT_TRUE(buffer->Seek(static_cast<int64_t>(c.start), 0));
        size_t pos = c.start;
        for (uint32_t zeros = c.carried, call = 0;; zeros = 0, ++call) {
            SCOPED_TRACE("case " + std::to_string(&c - cases) + " call " + std::to_string(call) + " from " + std::to_string(pos));
            const auto [found, position, wantZeros, wantValue] = ReferencePrefixScan(c.bytes, pos, zeros);
            uint8_t value = 0;
            ASSERT_EQ(buffer->ScanStartCodePrefix(zeros, value), found);
            ASSERT_EQ(buffer->Tell(), position);
            ASSERT_EQ(zeros, wantZeros);
            if (!found) break;
            ASSERT_EQ(value, wantValue);
            pos = static_cast<size_t>(position);
        }
    }
}

TEST(EsFileReader, VarnelPathsEndInUpperCaseVesAfterMoreThanThreeCharacters) {
    for (const char* path : {"a.VES", "xVES", "/d/VES"}) EXPECT_TRUE(CEsFileReader::IsVarnelPath(path)) << path;
    for (const char* path : {"VES", "a.ves", "a.VEs", "a.VES.bin", ""}) EXPECT_FALSE(CEsFileReader::IsVarnelPath(path));
    EXPECT_FALSE(CEsFileReader::IsVarnelPath(nullptr));
}

// Never opened, or Varnel missing for a .VES name: every query answers its empty value, a bit buffer reads and
// finds nothing. The reads themselves are checked in VarnelLoadedTest.cpp, for both kinds of file.
TEST(EsFileReader, WithoutAFile) {
    ASSERT_FALSE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "a libvarnel.so is on the loader path";
    kiv_test::TempDir dir;
    CEsFileReader never, varnel;
    EXPECT_FALSE(varnel.Open(dir.Write("a.VES", {1, 2, 3}).c_str()));
    EXPECT_STREQ(varnel.GetLastErrorText(), "");
    EXPECT_EQ(never.GetLastErrorText(), nullptr);
    for (CEsFileReader* r : {&never, &varnel}) {
        PRIVATE_LIBRARY::CL_CString name("junk");
        uint8_t byte = 0;
        const uint8_t* data = nullptr;
        EXPECT_STREQ(r->GetFileName(name).GetString(), "");
        EXPECT_EQ(std::make_tuple(r->GetLastErrorNumber(), r->IsOpen(), r->Tell(), r->GetLength(), r->Rewind(), r->Seek(0, 0)),
                  std::make_tuple(0, false, int64_t{0}, int64_t{0}, false, false));
        EXPECT_EQ(std::make_tuple(r->Read(&byte, 1), r->PeekBuffered(&data), r->Skip(5)), std::make_tuple(0u, 0u, uint64_t{0}));
    }
    CBinaryBuffer closed;
    EXPECT_FALSE(closed.Open(dir.File("a.VES").c_str()) || closed.Open(dir.File("missing").c_str()) || closed.Seek(0, 0));
    EXPECT_FALSE(closed.SearchCode(0x0001));
    EXPECT_THROW(closed.ReadByte(), ReadError);
}

}  // namespace
