// One fixed-size, bit-packed KIV item whose fields are set and read by id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "foundation/CL_CFile.h"
#include "kiv/CKivMember.h"
#include "kiv/KivConstants.h"

namespace ts_comp {
namespace kiv {

// Base of the four item classes; starts zero-filled with the five fields every item has.
class CKivItem {
public:
    CKivItem(uint32_t itemType, uint32_t itemSize);
    CKivItem(const CKivItem& other);
    CKivItem& operator=(const CKivItem& other);
    virtual ~CKivItem();

    virtual uint64_t GetValue(uint64_t id);
    virtual void AddMember(uint64_t id, const char* name, uint64_t bitWidth);
    virtual uint32_t GetItemType() { return m_itemType; }
    // Inline so that a writer whose item class is known stores the words straight into the file's buffer.
    virtual bool WriteTo(PRIVATE_LIBRARY::CL_CFile& file) {
        uint8_t* room = file.ReserveWrite(8 * StoredWords());
        if (room == nullptr) return WriteThroughFile(file);
        StoreWords(room);
        file.CommitWrite(m_itemSize);
        return true;
    }
    virtual bool ReadFrom(PRIVATE_LIBRARY::CL_CFile& file);

    // Inline for the fields of at most 64 bits inside the item (all of the standard tables); the rest walk
    // bits. The item is kept as big-endian 64-bit words, each set a read-modify-write of whole words.
    void SetValue(uint64_t id, uint64_t value) {
        if (id < kDirectIds && m_slotById[id] >= 0) {
            const FieldWindow& w = m_windows[m_slotById[id]];
            if (w.fits) {
                Put(w, value);
                return;
            }
        }
        SetValueSlow(id, value);
    }
    // SetValue of enc_item_type, enc_item_size, dts and pts. Every item starts with the common members, so
    // where these lie is known when compiling.
    void SetCommonValues(uint64_t itemType, uint64_t itemSize, uint64_t dts, uint64_t pts);
    bool FindMember(uint64_t id, CKivMember& out) const;
    // The first two words of an item (most significant byte first) that holds these values in its common
    // fields and zeros in every other bit of the two words.
    static void PackCommonValues(uint64_t itemType, uint64_t itemSize, uint64_t dts, uint64_t pts, uint64_t* words);

    // The member table in packing order, the item size and the packed bytes.
    size_t GetMemberCount() const { return m_members.size(); }
    const CKivMember& GetMemberAt(size_t index) const { return m_members[index]; }
    uint32_t GetItemSize() const { return m_itemSize; }
    const uint8_t* GetBytes() const;

protected:
    // Writes an item of itemSize bytes (at most 16) packed whole in two words by its class: stored straight
    // into the file's write buffer, else written through it.
    static bool WritePacked(PRIVATE_LIBRARY::CL_CFile& file, const uint64_t* words, uint32_t itemSize) {
        uint8_t* room = file.ReserveWrite(16);
        if (room == nullptr) return WritePackedThroughFile(file, words, itemSize);
        StoreWord(room, words[0]);
        StoreWord(room + 8, words[1]);
        file.CommitWrite(itemSize);
        return true;
    }
    // Adds a table of members in order (used by the derived constructors).
    template <size_t N>
    void AddMembers(const KivMemberRow (&table)[N]) {
        for (const KivMemberRow& row : table) AddMember(row.id, row.name, row.bitWidth);
    }

private:
    // Where a member's bits lie when it is inside the item: its top bits in word `word` at `shift` under
    // `mask`, and its last `rest` bits (when it runs into the next word) at the top of the next word.
    struct FieldWindow {
        uint32_t word;
        uint32_t shift;
        uint32_t rest;
        uint64_t mask;
        bool fits;
    };
    // Ids below this bound find their member through m_slotById instead of a search.
    static constexpr uint64_t kDirectIds = 16;

    // The window of a field of bitWidth bits (1 to 64) whose top bit lies offset bits from the item start.
    static constexpr FieldWindow WindowAt(uint64_t offset, uint64_t bitWidth) {
        const uint64_t inWord = offset % 64;
        const uint64_t top = inWord + bitWidth <= 64 ? bitWidth : 64 - inWord;
        return FieldWindow{static_cast<uint32_t>(offset / 64), static_cast<uint32_t>(64 - inWord - top),
                           static_cast<uint32_t>(bitWidth - top), top == 64 ? ~uint64_t{0} : (uint64_t{1} << top) - 1,
                           true};
    }
    // The window of common member `index`: the members before it are packed ahead of it.
    static constexpr FieldWindow CommonWindow(size_t index) {
        uint64_t offset = 0;
        for (size_t i = 0; i < index; ++i) offset += kCommonMembers[i].bitWidth;
        return WindowAt(offset, kCommonMembers[index].bitWidth);
    }

    void Put(const FieldWindow& w, uint64_t value) {
        uint64_t* words = m_words.data() + w.word;
        words[0] = (words[0] & ~(w.mask << w.shift)) | (((value >> w.rest) & w.mask) << w.shift);
        if (w.rest != 0) {
            const uint64_t restMask = (uint64_t{1} << w.rest) - 1;
            words[1] = (words[1] & ~(restMask << (64 - w.rest))) | ((value & restMask) << (64 - w.rest));
        }
    }
    uint8_t GetByte(uint64_t index) const {
        return static_cast<uint8_t>(m_words[index / 8] >> (56 - 8 * (index % 8)));
    }
    void SetByte(uint64_t index, uint8_t byte) {
        const uint32_t shift = static_cast<uint32_t>(56 - 8 * (index % 8));
        uint64_t& word = m_words[index / 8];
        word = (word & ~(uint64_t{0xFF} << shift)) | (uint64_t{byte} << shift);
    }
    // The item's bytes into out (room for StoredWords words), and back.
    void StoreWords(uint8_t* out) const {
        const uint64_t* words = m_words.data();  // taken once: out may alias any member
        const uint32_t count = StoredWords();
        StoreWord(out, words[0]);
        StoreWord(out + 8, words[1]);
        for (uint32_t k = 2; k < count; ++k) StoreWord(out + 8 * k, words[k]);
    }
    // Words StoreWords writes: the item rounded up to whole words, at least two (every item has them).
    uint32_t StoredWords() const { return m_itemSize > 16 ? (m_itemSize + 7) / 8 : 2; }
    static void StoreWord(uint8_t* out, uint64_t word) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        std::memcpy(out, &word, sizeof word);
    }
    bool WriteThroughFile(PRIVATE_LIBRARY::CL_CFile& file);
    static bool WritePackedThroughFile(PRIVATE_LIBRARY::CL_CFile& file, const uint64_t* words, uint32_t itemSize);
    void LoadBytes(const uint8_t* in);

    const CKivMember* Lookup(uint64_t id, const FieldWindow** window) const;
    void SetValueSlow(uint64_t id, uint64_t value);
    void SetBits(const CKivMember& member, uint64_t value);
    uint64_t GetBits(const CKivMember& member) const;

    uint64_t m_nextBitPosition;
    uint32_t m_itemType;
    uint32_t m_itemSize;
    std::vector<uint64_t> m_words;  // the item's bytes, 8 to a word, most significant first; a word of slack
    mutable std::vector<uint8_t> m_bytes;  // what GetBytes hands out
    std::vector<CKivMember> m_members;
    std::vector<FieldWindow> m_windows;  // one per member
    std::array<int8_t, kDirectIds> m_slotById;
};

inline void CKivItem::PackCommonValues(uint64_t itemType, uint64_t itemSize, uint64_t dts, uint64_t pts,
                                       uint64_t* words) {
    static_assert(kCommonMembers[0].id == kIdEncItemType && kCommonMembers[1].id == kIdEncItemSize &&
                      kCommonMembers[2].id == kIdDts && kCommonMembers[3].id == kIdPts,
                  "the common members lead with type, size, dts and pts");
    constexpr FieldWindow type = CommonWindow(0), size = CommonWindow(1), decode = CommonWindow(2),
                          present = CommonWindow(3);
    // Type, size and the top of dts fill the first word; the rest of dts and pts lie in the second.
    static_assert(type.word == 0 && size.word == 0 && decode.word == 0 && decode.rest != 0 && present.word == 1 &&
                      present.rest == 0 && type.shift == size.shift + 32 && size.shift == decode.shift + 24 &&
                      decode.shift == 0 && present.shift + 33 + decode.rest == 64,
                  "type, size and dts fill the first word");
    constexpr uint64_t restMask = (uint64_t{1} << decode.rest) - 1;
    words[0] = ((itemType & type.mask) << type.shift) | ((itemSize & size.mask) << size.shift) |
               ((dts >> decode.rest) & decode.mask);
    words[1] = ((dts & restMask) << (64 - decode.rest)) | ((pts & present.mask) << present.shift);
}

inline void CKivItem::SetCommonValues(uint64_t itemType, uint64_t itemSize, uint64_t dts, uint64_t pts) {
    // The second word's bits after pts are kept.
    constexpr uint64_t kept = (uint64_t{1} << CommonWindow(3).shift) - 1;
    uint64_t packed[2];
    PackCommonValues(itemType, itemSize, dts, pts, packed);
    uint64_t* words = m_words.data();
    words[0] = packed[0];
    words[1] = (words[1] & kept) | packed[1];
}

}  // namespace kiv
}  // namespace ts_comp
