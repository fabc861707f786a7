// The interactive composition of a joined composition file (the menu model).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspPage.h"

namespace PRIVATE_LIBRARY { class CL_CFile; }
class CGspReader;

class CGspIC {
public:
    virtual ~CGspIC() = default;
    // Reads a file written by CGspGsParser::BuildCompositionFile.
    virtual bool Parse(const char* path);
    // The same, through `file` (closed again after), whose buffer a caller keeps for the next composition.
    bool Parse(const char* path, PRIVATE_LIBRARY::CL_CFile& file);
    // The same from the bytes such a file holds.
    bool Parse(const uint8_t* bytes, uint64_t size);
    virtual uint32_t GetInteractiveCompositionLength() const { return m_interactiveCompositionLength; }
    virtual uint8_t GetStreamModel() const { return m_streamModel; }
    virtual uint8_t GetUserInterfaceModel() const { return m_userInterfaceModel; }
    virtual uint64_t GetCompositionTimeOutPts() const;
    virtual uint64_t GetSelectionTimeOutPts() const;
    virtual uint32_t GetUserTimeOutDuration() const { return m_userTimeOutDuration; }
    virtual uint8_t GetNumberOfPages() const { return m_numberOfPages; }
    virtual uint32_t GetPageCount() const { return static_cast<uint32_t>(m_pages.size()); }
    virtual const CGspPage* GetPage(uint32_t i) const;

private:
    bool Parse(CGspReader& in);

    uint32_t m_interactiveCompositionLength = 0;
    uint8_t m_streamModel = 0;
    uint8_t m_userInterfaceModel = 0;
    uint8_t m_timeOuts[10] = {};
    uint32_t m_userTimeOutDuration = 0;
    uint8_t m_numberOfPages = 0;
    std::vector<std::unique_ptr<CGspPage>> m_pages;
};
