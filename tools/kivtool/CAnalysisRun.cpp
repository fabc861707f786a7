#include "CAnalysisRun.h"

#include "CEsFactoryTable.h"
#include "KivCreateDriver.h"

namespace kivtool {

bool CAnalysisRun::Run(int type, const std::string& esPath, const std::string& kivPath,
                       const std::vector<uint32_t>& startPts, kiv_comp::CKivNotice* notice,
                       const std::string& tempPath) {
    m_analyser.reset();
    char error[256] = "";
    const bool ok = ts_comp::api::DriveCreateKiv(ts_comp::api::CEsFactoryTable::Active(), type, esPath.c_str(),
                                                 kivPath.c_str(), startPts, notice, tempPath.c_str(), error,
                                                 &m_analyser);
    m_error = ok ? "" : error;
    return ok;
}

}  // namespace kivtool
