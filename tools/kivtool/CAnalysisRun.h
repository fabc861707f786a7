// One analysis run through the body of CKivCreator::CreateKiv, keeping the analyser for its texts afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KivNotice.h"
#include "es/CEs.h"

namespace kivtool {

// Builds the analyser of a kind, runs its CreateKiv and holds it, so the XML and the report come from
// the object that saw the whole stream.
class CAnalysisRun {
public:
    // False with the text the creator would give (a CTsMuxException's message, or the analyser's
    // message after a false result, at most 255 characters). Other exceptions pass to the caller.
    // tempPath is used as a plain prefix by interactive graphics only.
    bool Run(int type, const std::string& esPath, const std::string& kivPath, const std::vector<uint32_t>& startPts,
             kiv_comp::CKivNotice* notice, const std::string& tempPath);

    const std::string& Error() const { return m_error; }
    // The analyser that ran; null when none could be built or it ended in an exception.
    ts_comp::es::CEs* Analyser() const { return m_analyser.get(); }
    // Destroys the analyser, closing its ES file and any KIV file it still holds.
    void Close() { m_analyser.reset(); }

private:
    std::unique_ptr<ts_comp::es::CEs> m_analyser;
    std::string m_error;
};

}  // namespace kivtool
