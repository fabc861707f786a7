// One MPEG-2 access unit: its size and the first layer of each class it holds.
#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "es/video/mpeg2/Mpeg2VideoLayers.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

// Owns the layers its queries answer with: the first of each class. Later layers of a class count only, so
// a unit of countless extensions takes no more memory than one of a few; a copy clones the kept layers.
class CAccessUintInformationForMpeg2 {
public:
    CAccessUintInformationForMpeg2() = default;
    CAccessUintInformationForMpeg2(const CAccessUintInformationForMpeg2& other);
    CAccessUintInformationForMpeg2& operator=(const CAccessUintInformationForMpeg2&) = delete;
    virtual ~CAccessUintInformationForMpeg2();

    void AddLayer(std::unique_ptr<CAbstractMpeg2VideoLayer> layer);
    void SetSize(uint32_t size) { m_size = size; }

    uint32_t GetSize() const { return m_size; }
    bool HasSequenceHeader() const { return Find<CSequenceHeaderLayer>() != nullptr; }
    bool HasSequenceExtension() const { return Find<CSequenceExtensionLayer>() != nullptr; }
    bool HasGopHeader() const { return Find<CGopOfPictureHeaderLayer>() != nullptr; }
    bool HasSequenceEndCode() const { return Find<CSequenceEndCodeLayer>() != nullptr; }
    bool HasPictureHeader() const { return Find<CPictureHeaderLayer>() != nullptr; }
    uint32_t GetPictureType() const;
    bool IsReferencePicture() const;
    uint8_t GetPictureStructure() const;
    bool IsFieldPicture() const;
    bool IsFramePicture() const;
    uint8_t GetTopFieldFirst() const;
    uint8_t GetRepeatFirstField() const;
    std::unique_ptr<CSequenceHeaderLayer> CloneSequenceHeader() const;
    std::unique_ptr<CSequenceExtensionLayer> CloneSequenceExtension() const;
    std::unique_ptr<CGopOfPictureHeaderLayer> CloneGopHeader() const;

    // First layer of class L, or none.
    template <typename L>
    const L* Find() const {
        return std::get<std::unique_ptr<L>>(m_first).get();
    }
    // Layers added, the dropped ones included.
    size_t GetLayerCount() const { return m_count; }

private:
    using FirstLayers = std::tuple<std::unique_ptr<CSequenceHeaderLayer>, std::unique_ptr<CSequenceExtensionLayer>,
                                   std::unique_ptr<CSequenceDisplayExtensionLayer>,
                                   std::unique_ptr<CGopOfPictureHeaderLayer>, std::unique_ptr<CPictureHeaderLayer>,
                                   std::unique_ptr<CPictureCodingExtensionLayer>,
                                   std::unique_ptr<CSequenceEndCodeLayer>>;

    uint32_t m_size = 0;
    FirstLayers m_first;
    size_t m_count = 0;
};

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
