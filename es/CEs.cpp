#include "es/CEs.h"

#include "foundation/CL_CFile.h"
#include "foundation/CTsMuxException.h"
#include "foundation/ErrorClassification.h"
#include "foundation/Messages.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CFile;
using PRIVATE_LIBRARY::CL_CString;

CEs::CEs(const CL_CString& esPath)
    : m_esFilePath(esPath), m_tempPath(kDefaultTempPath), m_notice(nullptr), m_esFileSize(0) {
    if (!m_reader.Open(m_esFilePath.GetString())) {
        CL_CString message;
        message.Format(messages::kFileCanNotOpen, m_esFilePath.GetString());
        const int code = ClassifyFileError(m_reader.GetLastErrorNumber(), kFileOperationOpen);
        throw CTsMuxException(code, message, kSourceEs, __LINE__, m_esFilePath.GetString(),
                              m_reader.GetLastErrorText());
    }
    m_esFileSize = m_reader.GetLength();
    m_errorMessage = "";
}

CEs::~CEs() { m_reader.Close(); }

CL_CString& CEs::GetEsFilePath(CL_CString& out) {
    out = m_esFilePath;
    return out;
}

bool CEs::CreateKiv(const char* /*kivPath*/, std::vector<uint64_t> startPtsList) {
    startPtsList.clear();
    return false;
}

void CEs::GetReportText(CL_CString& out) { out = kReportNotDefined; }

const char* CEs::GetLastErrorMessage() { return m_errorMessage.GetString(); }

// The file gets the analyser's text and one more line feed; a failed write is not reported.
bool CEs::WriteXmlFile(CL_CString xmlPath) {
    CL_CString text;
    GetXmlText(text);
    CL_CFile file(kXmlFileBufferSize);
    if (file.Open(xmlPath.GetString(), kXmlFileOpenMode) != 1) {
        m_errorMessage = kMsgXmlFileCannotCreate;
        return false;
    }
    file.WriteLine(text.GetString());
    file.Close();
    return true;
}

void CEs::ThrowAbort(const char* sourceName, int line) {
    throw CTsMuxException(error_code::kAbort, CL_CString(messages::kAbortEnd), sourceName, line, "", "");
}

}  // namespace es
}  // namespace ts_comp
