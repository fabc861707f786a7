// The intermediate file that holds the interactive composition of the current display set.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/CL_CFile.h"
#include "foundation/CL_CString.h"

class CGspGsParser;

namespace ts_comp { namespace es { namespace graphics_stream {

// Written in place from one display set to the next instead of made and deleted for each (making and
// deleting a file costs the file system far more than rewriting one). On destruction the file is left as
// deleting it at the end of every display set leaves it: present when the last composition written
// belongs to a display set that did not end, deleted when a display set ended after it. The bytes of a
// composition written whole are kept, so that it need not be read back from the file.
class CCompositionFile {
public:
    explicit CCompositionFile(const PRIVATE_LIBRARY::CL_CString& path);
    CCompositionFile(const CCompositionFile&) = delete;
    CCompositionFile& operator=(const CCompositionFile&) = delete;
    ~CCompositionFile();

    // Joins the composition that starts at ICS segment i into the file (its result is not checked: the
    // display set fails when the file cannot be read back).
    void Build(CGspGsParser& parser, uint32_t i);
    // The display set ended: its composition is done with, and reads as none until the next Build, as a
    // deleted file would (a continuation fragment cannot take it up).
    void EndDisplaySet() {
        m_ended = true;
        m_contents.clear();
        m_contentsKnown = true;
    }
    // What the file holds, when the last Build wrote all of it there or the display set ended; null when the
    // file is to be read.
    const std::vector<uint8_t>* GetContents() const { return m_contentsKnown ? &m_contents : nullptr; }

private:
    PRIVATE_LIBRARY::CL_CString m_path;
    PRIVATE_LIBRARY::CL_CFile m_file;
    std::vector<uint8_t> m_contents;
    bool m_contentsKnown = false;
    int64_t m_length = -1;   // the file's length after the last Build, -1 when not known
    bool m_atStart = false;  // the file stands at its first byte
    bool m_ended = false;
};

}}}  // namespace ts_comp::es::graphics_stream
