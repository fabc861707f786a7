#include "EsTypeArgument.h"

#include "ArgumentParser.h"
#include "KivCreator.h"
#include "ToolText.h"

#include <cstring>

namespace kivtool {

namespace {

using kiv_comp::CKivCreator;

struct TypeName {
    const char* name;
    int type;
};

constexpr TypeName kTypeNames[] = {
    {"mpeg2", CKivCreator::ES_TYPE_MPEG2_VIDEO}, {"avc", CKivCreator::ES_TYPE_AVC_VIDEO},
    {"vc1", CKivCreator::ES_TYPE_VC1_VIDEO},     {"lpcm", CKivCreator::ES_TYPE_HDMV_LPCM},
    {"ac3", CKivCreator::ES_TYPE_AC3},           {"dts", CKivCreator::ES_TYPE_DTS},
    {"mlp", CKivCreator::ES_TYPE_MLP},           {"dra", CKivCreator::ES_TYPE_DRA},
    {"pg", CKivCreator::ES_TYPE_PG},             {"ig", CKivCreator::ES_TYPE_IG},
};

}  // namespace

// Plain decimal digits only (no sign, no blanks, no base prefix): the digits from p on, up to the first
// other character or end; null when there is no digit or the value passes maxValue.
const char* TakeDecimal(const char* p, const char* end, uint64_t maxValue, uint64_t& value) {
    const char* const first = p;
    value = 0;
    for (; p != end; ++p) {
        const auto digit = static_cast<uint64_t>(static_cast<unsigned char>(*p) - unsigned{'0'});
        if (digit > 9) break;
        value = value * 10 + digit;
        if (value > maxValue) return nullptr;
    }
    return p == first ? nullptr : p;
}

bool ParseDecimal(const std::string& text, uint64_t maxValue, uint64_t& value) {
    const char* const end = text.data() + text.size();
    return TakeDecimal(text.data(), end, maxValue, value) == end;
}

bool ParseEsType(const std::string& text, int& type) {
    for (const TypeName& t : kTypeNames) {
        if (text == t.name) {
            type = t.type;
            return true;
        }
    }
    uint64_t number = 0;
    if (!ParseDecimal(text, CKivCreator::ES_TYPE_IG, number) || number < CKivCreator::ES_TYPE_MPEG2_VIDEO) {
        return false;
    }
    type = static_cast<int>(number);
    return true;
}

const char* EsTypeName(int type) {
    for (const TypeName& t : kTypeNames) {
        if (t.type == type) return t.name;
    }
    return "";
}

namespace {

// Eight characters from p on as one word, the first in the lowest byte.
uint64_t LoadEight(const char* p) {
    uint64_t w = 0;
    std::memcpy(&w, p, sizeof w);
    if constexpr (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__) w = __builtin_bswap64(w);
    return w;
}

// The number of leading decimal digits of the eight characters in w (a character is a digit when it differs from
// '0' in the low four bits only, by less than 10; a carry only runs on from a byte that is no digit itself).
uint32_t LeadingDigits(uint64_t w) {
    const uint64_t t = w ^ 0x3030303030303030u;
    const uint64_t others = ((t + 0x7676767676767676u) | t) & 0x8080808080808080u;
    return others == 0 ? 8 : static_cast<uint32_t>(__builtin_ctzll(others)) / 8;
}

// The value of the first n (1 to 8) digits of w: they are moved to the top, zeros fill in below, and neighbouring
// digits, then pairs, then fours are joined by one multiplication each.
uint64_t DigitsValue(uint64_t w, uint32_t n) {
    w = (w << (64 - 8 * n)) & 0x0F0F0F0F0F0F0F0Fu;
    w = (w * 2561) >> 8;
    w = ((w & 0x00FF00FF00FF00FFu) * 6553601) >> 16;
    return ((w & 0x0000FFFF0000FFFFu) * 42949672960001u) >> 32;
}

// One element of at most ten digits read eight characters at a time (16 must stand from p on); null when it needs
// the plain reading (no digit, more than ten digits or a value past 32 bits).
const char* TakeShortDecimal(const char* p, uint64_t& value) {
    const uint64_t head = LoadEight(p);
    const uint32_t n = LeadingDigits(head);
    if (n == 0) return nullptr;
    if (n < 8) {
        value = DigitsValue(head, n);
        return p + n;
    }
    const uint64_t tail = LoadEight(p + 8);
    const uint32_t more = LeadingDigits(tail);
    if (more > 2) return nullptr;
    value = DigitsValue(head, 8);
    if (more != 0) value = value * 10 + (tail & 0x0F);
    if (more == 2) value = value * 10 + (tail >> 8 & 0x0F);
    return value > UINT32_MAX ? nullptr : p + 8 + more;
}

}  // namespace

// The values are read where they stand in text and appended as they come; a bad element takes them back off.
bool ParseStartPtsList(const std::string& text, std::vector<uint32_t>& list) {
    const std::size_t kept = list.size();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (true) {
        uint64_t value = 0;
        const char* next = end - p >= 16 ? TakeShortDecimal(p, value) : nullptr;
        p = next != nullptr ? next : TakeDecimal(p, end, UINT32_MAX, value);
        if (p == nullptr || (p != end && *p != ',')) {
            list.resize(kept);
            return false;
        }
        list.push_back(static_cast<uint32_t>(value));
        if (p == end) return true;
        ++p;
    }
}

bool TakeKindOption(ArgumentParser& p, const std::string& name, int& type, std::vector<uint32_t>& startPts,
                    std::string& error) {
    if (name != "--type" && name != "--start-pts") return false;
    std::string value;
    if (!p.TakeValue(value)) {
        error = p.Error();
    } else if (name == "--type" && !ParseEsType(value, type)) {
        error = FormatText(text::kBadType, value);
    } else if (name == "--start-pts" && !ParseStartPtsList(value, startPts)) {
        error = FormatText(text::kBadStartPts, value);
    }
    return true;
}

}  // namespace kivtool
