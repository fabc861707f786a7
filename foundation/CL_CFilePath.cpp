#include "foundation/CL_CFilePath.h"

#include <cstring>
#include <string>

namespace PRIVATE_LIBRARY {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Builds the normalised text; when components is given, also lists the components.
std::string NormalizeText(const char* path, CL_CStrList* components) {
    std::string out;
    if (path == nullptr || path[0] == '\0') return out;
    const char* p = path;
    bool afterFirst = false;  // a separator goes before the next component
    if (p[1] == ':') {
        out.assign(p, 2);
        if (components != nullptr) components->AddTail(CL_CString(out.c_str()));
        p += 2;
        if (IsSeparator(*p)) ++p;
        afterFirst = true;
    } else {
        while (IsSeparator(*p)) {
            out += CL_CFilePath::kSeparator;
            ++p;
        }
    }
    while (*p != '\0') {
        while (IsSeparator(*p)) ++p;
        const char* begin = p;
        while (*p != '\0' && !IsSeparator(*p)) ++p;
        if (p == begin) continue;
        if (afterFirst) out += CL_CFilePath::kSeparator;
        const std::string component(begin, static_cast<size_t>(p - begin));
        out += component;
        if (components != nullptr) components->AddTail(component.c_str());
        afterFirst = true;
    }
    return out;
}

}  // namespace

CL_CFilePath::CL_CFilePath(const char* path) { SetPath(path); }

CL_CFilePath::CL_CFilePath(const CL_CFilePath& other) : CL_CString(other) { SetPath(other.GetString()); }

CL_CFilePath& CL_CFilePath::operator=(const CL_CFilePath& other) {
    if (this != &other) SetPath(other.GetString());
    return *this;
}

// Normalising a normalised path gives the same text, so copies re-normalise to rebuild the components.
void CL_CFilePath::SetPath(const char* path) {
    m_components.RemoveAll();
    const std::string text = NormalizeText(path, &m_components);
    Set(text.c_str(), -1);
}

void CL_CFilePath::Normalize(const char* path, CL_CString& out) { out = NormalizeText(path, nullptr).c_str(); }

}  // namespace PRIVATE_LIBRARY
