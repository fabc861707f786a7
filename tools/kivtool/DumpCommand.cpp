// kivtool dump: prints a KIV file's kiv_file_type and every field of every item by name.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ArgumentParser.h"
#include "Commands.h"
#include "KivFileHead.h"
#include "ToolText.h"
#include "kiv/CKiv.h"
#include "kiv/CKivFactory.h"
#include "kiv/CKivItem.h"
#include "kiv/KivConstants.h"

namespace kivtool {

namespace {

using ts_comp::kiv::CKiv;
using ts_comp::kiv::CKivFactory;
using ts_comp::kiv::CKivItem;

// Texts of the dump command (the usage and the shared option messages are the tool's own).
constexpr const char kBadFormat[] = "unknown format '%s' (text, csv or json)";
constexpr const char kUnknownType[] =
    "unknown kiv_file_type %s (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)";
constexpr const char kTruncated[] = "truncated last item: ";
constexpr const char kCannotCount[] = "cannot count the items";
constexpr const char kCannotReadItem[] = "cannot read item ";
// Output is collected and written out in blocks of about this size.
constexpr size_t kOutputBlock = 1 << 20;

enum class Format { kText, kCsv, kJson };

struct DumpOptions {
    Format format = Format::kText;
    std::string path;
};

int Failure(const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "%s%s: %s\n", text::kProgramPrefix, path.c_str(), reason.c_str());
    return kExitFailure;
}

bool ParseFormat(const std::string& name, Format& out) {
    static const struct {
        const char* name;
        Format format;
    } kFormats[] = {{"text", Format::kText}, {"csv", Format::kCsv}, {"json", Format::kJson}};
    for (const auto& f : kFormats) {
        if (name == f.name) {
            out = f.format;
            return true;
        }
    }
    return false;
}

// Returns -1 when the arguments are fine, else the exit status to end with.
int ParseArguments(const std::vector<std::string>& args, DumpOptions& options) {
    ArgumentParser p(args);
    std::vector<std::string> operands;
    while (!p.AtEnd()) {
        const std::string name = p.PeekOption();
        if (name.empty()) {
            operands.push_back(p.TakeOperand());
        } else if (name == "--help" || name == "-h") {
            std::fputs(text::kUsage, stdout);
            return kExitOk;
        } else if (name == "--format") {
            std::string value;
            if (!p.TakeValue(value)) return UsageError(p.Error());
            if (!ParseFormat(value, options.format)) return UsageError(FormatText(kBadFormat, value));
        } else {
            p.RejectOption();
            return UsageError(p.Error());
        }
    }
    if (operands.size() != 1) return UsageError(FormatText(text::kWrongOperands, "KIV_FILE"));
    options.path = operands[0];
    return -1;
}

// Appends text and unsigned numbers to a block that is written to stdout as it fills.
class Output {
public:
    Output() { m_text.reserve(kOutputBlock + 4096); }
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    Output& operator<<(const char* text) {
        m_text.append(text);
        return *this;
    }
    Output& operator<<(uint64_t value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_text.append(digits, result.ptr);
        if (m_text.size() >= kOutputBlock) Flush();
        return *this;
    }
    void Flush() {
        if (!m_text.empty()) std::fwrite(m_text.data(), 1, m_text.size(), stdout);
        m_text.clear();
    }

private:
    std::string m_text;
};

void PrintHead(Output& out, Format format, uint32_t type, const CKivItem& item, uint64_t count) {
    switch (format) {
        case Format::kText:
            out << "kiv_file_type : " << uint64_t{type} << " (" << CKivFactory::GetTypeName(type) << ")\n"
                << "item_size : " << uint64_t{item.GetItemSize()} << "\nitem_count : " << count << "\n";
            break;
        case Format::kCsv:
            out << "kiv_file_type,index";
            for (size_t m = 0; m < item.GetMemberCount(); ++m) out << "," << item.GetMemberAt(m).Name();
            out << "\n";
            break;
        case Format::kJson:
            out << "{\n  \"kiv_file_type\": " << uint64_t{type} << ",\n  \"type_name\": \""
                << CKivFactory::GetTypeName(type) << "\",\n  \"item_size\": " << uint64_t{item.GetItemSize()}
                << ",\n  \"item_count\": " << count << ",\n  \"items\": [";
            break;
    }
}

void PrintItem(Output& out, Format format, uint32_t type, CKivItem& item, uint64_t index) {
    const size_t members = item.GetMemberCount();
    switch (format) {
        case Format::kText:
            out << "item " << index << " :";
            for (size_t m = 0; m < members; ++m) {
                const auto& member = item.GetMemberAt(m);
                out << " " << member.Name() << "=" << item.GetValue(member.Id());
            }
            out << "\n";
            break;
        case Format::kCsv:
            out << uint64_t{type} << "," << index;
            for (size_t m = 0; m < members; ++m) out << "," << item.GetValue(item.GetMemberAt(m).Id());
            out << "\n";
            break;
        case Format::kJson:
            out << (index == 0 ? "\n    {\"index\": " : ",\n    {\"index\": ") << index;
            for (size_t m = 0; m < members; ++m) {
                const auto& member = item.GetMemberAt(m);
                out << ", \"" << member.Name() << "\": " << item.GetValue(member.Id());
            }
            out << "}";
            break;
    }
}

void PrintTail(Output& out, Format format, uint64_t count) {
    if (format == Format::kJson) out << (count == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace

int RunDump(const std::vector<std::string>& args) {
    DumpOptions options;
    const int parsed = ParseArguments(args, options);
    if (parsed >= 0) return parsed;
    const std::string& path = options.path;

    uint32_t type = 0;
    int64_t length = 0;
    std::string reason;
    if (!ReadKivHead(path, type, length, reason)) return Failure(path, reason);
    std::unique_ptr<CKiv> kiv = CKivFactory::MakeKiv(type);
    std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(type);
    if (kiv == nullptr || item == nullptr) {
        return Failure(path, FormatText(kUnknownType, std::to_string(type)));
    }
    const uint64_t payload = static_cast<uint64_t>(length) - ts_comp::kiv::kKivHeaderSize;
    if (payload % kiv->GetItemSize() != 0) {
        return Failure(path, kTruncated + std::to_string(payload % kiv->GetItemSize()) +
                                 " bytes after " + std::to_string(payload / kiv->GetItemSize()) +
                                 " whole items of " + std::to_string(kiv->GetItemSize()) + " bytes");
    }
    if (!kiv->Open(path.c_str())) return Failure(path, kiv->GetErrorMessage());
    const int64_t count = kiv->GetItemCount();
    if (count < 0) return Failure(path, kCannotCount);

    Output out;
    PrintHead(out, options.format, type, *item, static_cast<uint64_t>(count));
    for (uint64_t index = 0; index < static_cast<uint64_t>(count); ++index) {
        if (!kiv->ReadItem(*item)) {
            out.Flush();
            return Failure(path, kCannotReadItem + std::to_string(index));
        }
        PrintItem(out, options.format, type, *item, index);
    }
    PrintTail(out, options.format, static_cast<uint64_t>(count));
    out.Flush();
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace kivtool
