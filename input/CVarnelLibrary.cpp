#include "input/CVarnelLibrary.h"

#include <dlfcn.h>

#include <cstring>

#include "input/InputMessages.h"

namespace ts_comp {
namespace es {

namespace {

// dlsym hands out an object pointer; copy its bits into the function pointer type.
template <typename Fn>
Fn Resolve(void* library, const char* name) {
    void* symbol = dlsym(library, name);
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(symbol), "function and object pointers differ in size");
    std::memcpy(&fn, &symbol, sizeof(fn));
    return fn;
}

}  // namespace

const CVarnelLibrary& CVarnelLibrary::Get() {
    static const CVarnelLibrary instance;
    return instance;
}

// Loaded once per process and kept until its end; a missing library leaves every entry point null.
CVarnelLibrary::CVarnelLibrary() {
    m_library = dlopen(input_messages::kVarnelLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (m_library == nullptr) return;
    open = Resolve<OpenFn>(m_library, "VNL_open");
    read = Resolve<ReadFn>(m_library, "VNL_read");
    lseeki64 = Resolve<LseekFn>(m_library, "VNL_lseeki64");
    close = Resolve<CloseFn>(m_library, "VNL_close");
    filelengthi64 = Resolve<LengthFn>(m_library, "VNL_filelengthi64");
    telli64 = Resolve<TellFn>(m_library, "VNL_telli64");
    getSourceFileName = Resolve<TextFn>(m_library, "VNL_GetSourceFileName");
    getLastError = Resolve<TextFn>(m_library, "VNL_GetLastError");
    getEsType = Resolve<EsTypeFn>(m_library, "VNL_GetEsType");
}

}  // namespace es
}  // namespace ts_comp
