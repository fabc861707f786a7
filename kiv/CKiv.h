// A KIV index file: a 4-byte kiv_file_type followed by fixed-size items, written and read back.
#pragma once

#include <cstdint>
#include <type_traits>

#include "foundation/CL_CFile.h"
#include "foundation/CL_CString.h"
#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

// Base of the four writers, which only fix the file type and the item size.
class CKiv {
public:
    CKiv(const CKiv&) = delete;
    CKiv& operator=(const CKiv&) = delete;
    virtual ~CKiv();

    virtual bool SetItemIndex(uint64_t index);
    virtual int64_t GetCurrentItemIndex();
    virtual bool ReadItemAt(uint64_t index, CKivItem& item);
    virtual bool SeekToItem(uint64_t index);
    virtual int64_t GetItemCount();
    virtual bool IsOpen();
    virtual bool WriteItem(CKivItem& item) {
        if (item.GetItemType() != m_kivFileType) return false;
        return item.WriteTo(m_file);
    }
    // WriteItem of an item whose class is final, so that its calls are direct and inline where visible.
    template <class Item>
    bool WriteFinalItem(Item& item) {
        static_assert(std::is_final<Item>::value, "the item's class is its dynamic type");
        if (item.Item::GetItemType() != m_kivFileType) return false;
        return item.Item::WriteTo(m_file);
    }
    virtual bool ReadItem(CKivItem& item);
    virtual PRIVATE_LIBRARY::CL_CString& GetFilePath(PRIVATE_LIBRARY::CL_CString& out);
    virtual bool Create(const char* path);
    virtual void Close();
    virtual bool Open(const char* path);

    // The text and code a failed Open left (code 5 until then).
    const char* GetErrorMessage() const { return m_errorMessage.GetString(); }
    int GetErrorCode() const { return m_errorCode; }
    uint32_t GetKivFileType() const { return m_kivFileType; }
    uint64_t GetItemSize() const { return m_itemSize; }

protected:
    CKiv(uint32_t kivFileType, uint64_t itemSize);

private:
    PRIVATE_LIBRARY::CL_CFile m_file;
    uint32_t m_kivFileType;
    uint64_t m_itemSize;
    PRIVATE_LIBRARY::CL_CString m_errorMessage;
    int m_errorCode;
};

}  // namespace kiv
}  // namespace ts_comp
