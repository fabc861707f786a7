// Lazily loaded entry points of the Varnel service library.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {

// libvarnel.so opened on first use; every entry point is null when it or the library is missing.
class CVarnelLibrary {
public:
    using OpenFn = int (*)(const char*, int);
    using ReadFn = int (*)(int, void*, unsigned);
    using LseekFn = int64_t (*)(int, int64_t, int);
    using CloseFn = int (*)(int);
    using LengthFn = int64_t (*)(int);
    using TellFn = int64_t (*)(int);
    using TextFn = const char* (*)(int);
    using EsTypeFn = int (*)(int);

    // The process-wide instance; the library is loaded by the first call.
    static const CVarnelLibrary& Get();

    bool IsLoaded() const { return m_library != nullptr; }

    OpenFn open = nullptr;
    ReadFn read = nullptr;
    LseekFn lseeki64 = nullptr;
    CloseFn close = nullptr;
    LengthFn filelengthi64 = nullptr;
    TellFn telli64 = nullptr;
    TextFn getSourceFileName = nullptr;
    TextFn getLastError = nullptr;
    EsTypeFn getEsType = nullptr;

private:
    CVarnelLibrary();
    void* m_library = nullptr;
};

}  // namespace es
}  // namespace ts_comp
