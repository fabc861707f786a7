// Test double: an analyser whose CreateKiv outcome is scripted and whose inputs are recorded.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "es/CEs.h"
#include "foundation/CTsMuxException.h"

namespace kiv_test {

// What the next scripted analyser does, and what the last one saw.
struct Script {
    enum Outcome { kSucceed, kFailWithMessage, kThrowMux, kThrowOther, kThrowInConstructor };
    Outcome outcome = kSucceed;
    std::string message, kivPath, tempPath, esPath;
    int constructed = 0, destroyed = 0;
    std::vector<uint64_t> starts;
    kiv_comp::CKivNotice* notice = nullptr;
};

inline Script& CurrentScript() {
    static Script script;
    return script;
}

class CScriptedEs : public ts_comp::es::CEs {
public:
    explicit CScriptedEs(const PRIVATE_LIBRARY::CL_CString& esPath) : CEs(esPath) {
        Script& s = CurrentScript();
        if (s.outcome == Script::kThrowInConstructor) throw ts_comp::CTsMuxException(15, s.message.c_str(), "", 0, "", "");
        ++s.constructed;
        s.esPath = m_esFilePath.GetString();
    }
    ~CScriptedEs() override { ++CurrentScript().destroyed; }

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override {
        Script& s = CurrentScript();
        s.starts = startPtsList, s.kivPath = kivPath, s.tempPath = m_tempPath.GetString(), s.notice = m_notice;
        if (s.outcome == Script::kThrowMux) throw ts_comp::CTsMuxException(6, s.message.c_str(), "", 0, "file", "detail");
        if (s.outcome == Script::kThrowOther) throw std::runtime_error(s.message);
        m_errorMessage = s.message.c_str();
        return s.outcome == Script::kSucceed;
    }
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override { out = "<scripted/>"; }
};

}  // namespace kiv_test
