#include "es/video/mpeg2/CAccessUintInformationForMpeg2.h"

#include <typeinfo>

namespace ts_comp {
namespace es {
namespace mpeg2_video {

namespace {
template <typename L>
std::unique_ptr<L> CloneFirst(const L* layer) {
    return layer != nullptr ? std::make_unique<L>(*layer) : nullptr;
}

// True when layer is exactly of class L; the first such layer moves into slot, later ones are dropped.
template <typename L>
bool Keep(std::unique_ptr<CAbstractMpeg2VideoLayer>& layer, const std::type_info& kind, std::unique_ptr<L>& slot) {
    if (kind != typeid(L)) return false;
    if (slot == nullptr) slot.reset(static_cast<L*>(layer.release()));
    return true;
}

template <typename... L>
void CloneEach(std::tuple<std::unique_ptr<L>...>& to, const std::tuple<std::unique_ptr<L>...>& from) {
    ((std::get<std::unique_ptr<L>>(to) = CloneFirst(std::get<std::unique_ptr<L>>(from).get())), ...);
}
}  // namespace

CAccessUintInformationForMpeg2::CAccessUintInformationForMpeg2(const CAccessUintInformationForMpeg2& other)
    : m_size(other.m_size), m_count(other.m_count) {
    CloneEach(m_first, other.m_first);
}

CAccessUintInformationForMpeg2::~CAccessUintInformationForMpeg2() = default;

void CAccessUintInformationForMpeg2::AddLayer(std::unique_ptr<CAbstractMpeg2VideoLayer> layer) {
    const std::type_info& kind = typeid(*layer);
    ++m_count;
    std::apply([&](auto&... slot) { (Keep(layer, kind, slot) || ...); }, m_first);
}

// An I picture without a sequence header in its unit counts as type 4.
uint32_t CAccessUintInformationForMpeg2::GetPictureType() const {
    const CPictureHeaderLayer* picture = Find<CPictureHeaderLayer>();
    if (picture == nullptr) return 0;
    if (picture->picture_coding_type == 1 && !HasSequenceHeader()) return 4;
    return picture->picture_coding_type;
}

bool CAccessUintInformationForMpeg2::IsReferencePicture() const {
    const uint32_t type = GetPictureType();
    return type == 1 || type == 2 || type == 4;
}

uint8_t CAccessUintInformationForMpeg2::GetPictureStructure() const {
    const CPictureCodingExtensionLayer* ext = Find<CPictureCodingExtensionLayer>();
    return ext != nullptr ? ext->picture_structure : 0;
}

bool CAccessUintInformationForMpeg2::IsFieldPicture() const {
    const uint8_t s = GetPictureStructure();
    return s == 1 || s == 2;
}

bool CAccessUintInformationForMpeg2::IsFramePicture() const { return GetPictureStructure() == 3; }

uint8_t CAccessUintInformationForMpeg2::GetTopFieldFirst() const {
    const CPictureCodingExtensionLayer* ext = Find<CPictureCodingExtensionLayer>();
    return ext != nullptr ? ext->top_field_first : 0;
}

uint8_t CAccessUintInformationForMpeg2::GetRepeatFirstField() const {
    const CPictureCodingExtensionLayer* ext = Find<CPictureCodingExtensionLayer>();
    return ext != nullptr ? ext->repeat_first_field : 0;
}

std::unique_ptr<CSequenceHeaderLayer> CAccessUintInformationForMpeg2::CloneSequenceHeader() const {
    return CloneFirst(Find<CSequenceHeaderLayer>());
}
std::unique_ptr<CSequenceExtensionLayer> CAccessUintInformationForMpeg2::CloneSequenceExtension() const {
    return CloneFirst(Find<CSequenceExtensionLayer>());
}
std::unique_ptr<CGopOfPictureHeaderLayer> CAccessUintInformationForMpeg2::CloneGopHeader() const {
    return CloneFirst(Find<CGopOfPictureHeaderLayer>());
}

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
