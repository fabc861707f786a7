// Public interface of libkiv: the creator that indexes one elementary stream into a KIV file.
#pragma once

#include <cstdint>
#include <vector>

#include "KivExport.h"
#include "KivNotice.h"

namespace kiv_comp {

// Builds the analyser for a stream kind, runs it and keeps the text of the last failure.
class KIV_EXPORT CKivCreator {
public:
    enum ES_TYPE {
        ES_TYPE_MPEG2_VIDEO = 1,
        ES_TYPE_AVC_VIDEO = 2,
        ES_TYPE_VC1_VIDEO = 3,
        ES_TYPE_HDMV_LPCM = 4,
        ES_TYPE_AC3 = 5,
        ES_TYPE_DTS = 6,
        ES_TYPE_MLP = 7,
        ES_TYPE_DRA = 8,
        ES_TYPE_PG = 9,
        ES_TYPE_IG = 10
    };

    CKivCreator();
    CKivCreator(const CKivCreator& other);
    CKivCreator& operator=(const CKivCreator& other);
    virtual ~CKivCreator();

    virtual bool CreateKiv(ES_TYPE type, const char* esPath, const char* kivPath,
                           std::vector<uint32_t> startPtsList, CKivNotice* notice);
    virtual const char* GetLastErrorMessage() const;
    virtual void SetTempPath(const char* path);

private:
    static const int BUFFER_LENGTH = 256;

    char lastError[BUFFER_LENGTH];
    char tempPath[BUFFER_LENGTH];
};

}  // namespace kiv_comp
