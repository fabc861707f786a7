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

// Plain decimal digits only (no sign, no blanks, no base prefix).
bool ParseDecimal(const std::string& text, uint64_t maxValue, uint64_t& value) {
    if (text.empty()) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > maxValue) return false;
    }
    return true;
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

bool ParseStartPtsList(const std::string& text, std::vector<uint32_t>& list) {
    std::vector<uint32_t> parsed;
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        uint64_t value = 0;
        if (!ParseDecimal(text.substr(begin, end - begin), UINT32_MAX, value)) return false;
        parsed.push_back(static_cast<uint32_t>(value));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    list.insert(list.end(), parsed.begin(), parsed.end());
    return true;
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
