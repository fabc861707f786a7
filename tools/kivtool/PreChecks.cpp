#include "PreChecks.h"

#include <sys/stat.h>
#include <unistd.h>

#include "ArgumentParser.h"
#include "EsTypeArgument.h"
#include "KivCreator.h"
#include "ToolText.h"

namespace kivtool {

std::string CheckOutputFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return FormatText(text::kCannotWrite, path) + FormatText(text::kNoFolder, folder);
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return FormatText(text::kCannotWrite, path) + FormatText(text::kFolderNotWritable, folder);
    }
    return "";
}

bool TakesOneStartValue(int type) {
    using kiv_comp::CKivCreator;
    return type == CKivCreator::ES_TYPE_HDMV_LPCM || type == CKivCreator::ES_TYPE_MLP ||
           type == CKivCreator::ES_TYPE_DRA;
}

std::string CheckStartValues(int type, std::size_t count) {
    if (!TakesOneStartValue(type) || count == 1) return "";
    return FormatText(text::kOneStartValue, EsTypeName(type)) + std::to_string(count) + text::kValuesGiven;
}

}  // namespace kivtool
