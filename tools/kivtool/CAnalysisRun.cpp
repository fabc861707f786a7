#include "CAnalysisRun.h"

#include <utility>

#include "ApiMessages.h"
#include "CEsFactoryTable.h"
#include "KivCreateDriver.h"
#include "KivCreator.h"
#include "foundation/CTsMuxException.h"

namespace kivtool {

namespace {

// The creator keeps at most 255 characters of a failure text.
std::string Bounded(const char* text) {
    char bounded[256];
    ts_comp::api::CopyBoundedText(bounded, text);
    return bounded;
}

}  // namespace

bool CAnalysisRun::Run(int type, const std::string& esPath, const std::string& kivPath,
                       const std::vector<uint32_t>& startPts, kiv_comp::CKivNotice* notice,
                       const std::string& tempPath) {
    m_analyser.reset();
    m_error.clear();
    const ts_comp::api::EsMaker make = ts_comp::api::CEsFactoryTable::Active().Find(type);
    if (make == nullptr) {
        m_error = kiv_comp::messages::kUnknownEsType;
        return false;
    }
    try {
        m_analyser = make(PRIVATE_LIBRARY::CL_CString(esPath.c_str()));
        if (type == kiv_comp::CKivCreator::ES_TYPE_IG) {
            m_analyser->SetTempPath(PRIVATE_LIBRARY::CL_CString(tempPath.c_str()));
        }
        m_analyser->SetNotice(notice);
        // The 32-bit values are unsigned: widened by zero extension.
        std::vector<uint64_t> starts(startPts.begin(), startPts.end());
        const bool ok = m_analyser->CreateKiv(kivPath.c_str(), std::move(starts));
        if (!ok) m_error = Bounded(m_analyser->GetLastErrorMessage());
        return ok;
    } catch (const ts_comp::CTsMuxException& e) {
        PRIVATE_LIBRARY::CL_CString message;
        e.GetErrorMessage(message);
        m_error = Bounded(message.GetString());
        return false;
    }
}

}  // namespace kivtool
