// Abstract base of the stream analysers: the opened ES file, the texts the driver reads, the notice.
#pragma once

#include <cstdint>
#include <vector>

#include "KivNotice.h"
#include "es/EsMessages.h"
#include "foundation/CL_CString.h"
#include "input/CEsFileReader.h"

namespace ts_comp {
namespace es {

// Opens the ES file on construction (throws CTsMuxException when it does not open).
class CEs {
public:
    explicit CEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    CEs(const CEs&) = delete;
    CEs& operator=(const CEs&) = delete;
    virtual ~CEs();

    virtual PRIVATE_LIBRARY::CL_CString& GetEsFilePath(PRIVATE_LIBRARY::CL_CString& out);
    virtual bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList);
    virtual void GetReportText(PRIVATE_LIBRARY::CL_CString& out);
    virtual void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) = 0;
    virtual const char* GetLastErrorMessage();
    virtual bool WriteXmlFile(PRIVATE_LIBRARY::CL_CString xmlPath);

    void SetNotice(kiv_comp::CKivNotice* notice) { m_notice = notice; }
    // Folder for intermediate files; the driver sets it for interactive graphics.
    void SetTempPath(const PRIVATE_LIBRARY::CL_CString& tempPath) { m_tempPath = tempPath; }

protected:
    // Called after each access unit: without a notice nothing; when the host aborted, throws
    // "abort end." (code 0, empty texts) naming sourceName and line; else reports the progress.
    void NotifyUnit(int64_t processedBytes, const char* sourceName, int line) {
        if (m_notice == nullptr) return;
        if (m_notice->IsAborted()) ThrowAbort(sourceName, line);
        m_notice->NotifyProgress(processedBytes, m_esFileSize);
    }

    CEsFileReader m_reader;
    PRIVATE_LIBRARY::CL_CString m_esFilePath;
    PRIVATE_LIBRARY::CL_CString m_errorMessage;
    PRIVATE_LIBRARY::CL_CString m_tempPath;
    kiv_comp::CKivNotice* m_notice;
    int64_t m_esFileSize;

private:
    [[noreturn]] static void ThrowAbort(const char* sourceName, int line);
};

}  // namespace es
}  // namespace ts_comp
