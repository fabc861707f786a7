#include "kiv/CKivFactory.h"

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivItem.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivItem.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"

namespace ts_comp {
namespace kiv {

namespace {

struct TypeEntry {
    uint32_t type;
    const char* name;
    std::unique_ptr<CKiv> (*makeKiv)();
    std::unique_ptr<CKivItem> (*makeItem)();
};

template <class Kiv, class Item>
TypeEntry Entry(uint32_t type, const char* name) {
    return {type, name, []() -> std::unique_ptr<CKiv> { return std::make_unique<Kiv>(); },
            []() -> std::unique_ptr<CKivItem> { return std::make_unique<Item>(); }};
}

const TypeEntry* FindType(uint32_t kivFileType) {
    static const TypeEntry kTypes[] = {
        Entry<CVideoKiv, CVideoKivItem>(kKivFileTypeVideo, "video"),
        Entry<CAudioKiv, CAudioKivItem>(kKivFileTypeAudio, "audio"),
        Entry<CGraphicsKiv, CGraphicsKivItem>(kKivFileTypeGraphics, "graphics"),
        Entry<CMvcDependentViewVideoKiv, CMvcDependentViewVideoKivItem>(kKivFileTypeMvcDependentViewVideo,
                                                                       "mvc_dependent_view"),
    };
    for (const TypeEntry& entry : kTypes) {
        if (entry.type == kivFileType) return &entry;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<CKiv> CKivFactory::MakeKiv(uint32_t kivFileType) {
    const TypeEntry* entry = FindType(kivFileType);
    return entry != nullptr ? entry->makeKiv() : nullptr;
}

std::unique_ptr<CKivItem> CKivFactory::MakeItem(uint32_t kivFileType) {
    const TypeEntry* entry = FindType(kivFileType);
    return entry != nullptr ? entry->makeItem() : nullptr;
}

const char* CKivFactory::GetTypeName(uint32_t kivFileType) {
    const TypeEntry* entry = FindType(kivFileType);
    return entry != nullptr ? entry->name : nullptr;
}

}  // namespace kiv
}  // namespace ts_comp
