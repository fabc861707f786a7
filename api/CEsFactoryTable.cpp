#include "CEsFactoryTable.h"

namespace ts_comp {
namespace api {

namespace {

const CEsFactoryTable* g_installed = nullptr;

}  // namespace

const CEsFactoryTable& CEsFactoryTable::Active() {
    return g_installed != nullptr ? *g_installed : BuiltIn();
}

const CEsFactoryTable* CEsFactoryTable::Install(const CEsFactoryTable* table) {
    const CEsFactoryTable* previous = g_installed;
    g_installed = table;
    return previous;
}

EsMaker CEsFactoryTable::Find(int type) const {
    for (std::size_t i = 0; i < m_count; ++i) {
        if (m_rows[i].type == type && m_rows[i].make != nullptr) return m_rows[i].make;
    }
    return nullptr;
}

}  // namespace api
}  // namespace ts_comp
