// Internal to the library: which analyser class is built for which stream kind.
#pragma once

#include <cstddef>
#include <memory>

#include "es/CEs.h"
#include "foundation/CL_CString.h"

namespace ts_comp {
namespace api {

// Builds one analyser on an ES path; the analyser's constructor throws CTsMuxException for an unusable file.
using EsMaker = std::unique_ptr<es::CEs> (*)(const PRIVATE_LIBRARY::CL_CString& esPath);

template <class Analyser>
std::unique_ptr<es::CEs> MakeEs(const PRIVATE_LIBRARY::CL_CString& esPath) {
    return std::make_unique<Analyser>(esPath);
}

// One row: a stream kind (an ES_TYPE value) and the maker of its analyser.
struct EsFactoryRow {
    int type;
    EsMaker make;
};

// A read-only view of rows; stream kinds without a row are refused.
class CEsFactoryTable {
public:
    CEsFactoryTable(const EsFactoryRow* rows, std::size_t count) : m_rows(rows), m_count(count) {}
    template <std::size_t N>
    explicit CEsFactoryTable(const EsFactoryRow (&rows)[N]) : m_rows(rows), m_count(N) {}

    // The maker for `type`, or null when the kind has no analyser.
    EsMaker Find(int type) const;

    // The table of the analysers built into the library.
    static const CEsFactoryTable& BuiltIn();
    // The table CKivCreator uses: the built-in one unless another was installed.
    static const CEsFactoryTable& Active();
    // Makes `table` the active one (null restores the built-in table); returns the previous one.
    // Lets tests run the creator over stand-in analysers; not thread-safe against running calls.
    static const CEsFactoryTable* Install(const CEsFactoryTable* table);

private:
    const EsFactoryRow* m_rows;
    std::size_t m_count;
};

}  // namespace api
}  // namespace ts_comp
