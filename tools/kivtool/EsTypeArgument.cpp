#include "EsTypeArgument.h"

#include "ArgumentParser.h"
#include "KivCreator.h"
#include "ToolText.h"

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

// The values are read where they stand in text and appended as they come; a bad element takes them back off.
bool ParseStartPtsList(const std::string& text, std::vector<uint32_t>& list) {
    const std::size_t kept = list.size();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (true) {
        uint64_t value = 0;
        p = TakeDecimal(p, end, UINT32_MAX, value);
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
