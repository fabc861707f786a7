// One MPEG-2 access unit: its size, its layers in stream order and the flags of the layers it holds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/video/mpeg2/Mpeg2VideoLayers.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

// Owns its layers; a copy clones every layer.
class CAccessUintInformationForMpeg2 {
public:
    CAccessUintInformationForMpeg2() = default;
    CAccessUintInformationForMpeg2(const CAccessUintInformationForMpeg2& other);
    CAccessUintInformationForMpeg2& operator=(const CAccessUintInformationForMpeg2&) = delete;
    virtual ~CAccessUintInformationForMpeg2();

    void AddLayer(std::unique_ptr<CAbstractMpeg2VideoLayer> layer);
    void SetSize(uint32_t size) { m_size = size; }

    uint32_t GetSize() const { return m_size; }
    bool HasSequenceHeader() const { return m_hasSequenceHeader != 0; }
    bool HasSequenceExtension() const { return m_hasSequenceExtension != 0; }
    bool HasGopHeader() const { return m_hasGopHeader != 0; }
    bool HasSequenceEndCode() const { return m_hasSequenceEndCode != 0; }
    bool HasPictureHeader() const { return m_hasPictureHeader != 0; }
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
        for (const auto& layer : m_layers) {
            if (const L* found = dynamic_cast<const L*>(layer.get())) return found;
        }
        return nullptr;
    }
    size_t GetLayerCount() const { return m_layers.size(); }

private:
    uint32_t m_size = 0;
    std::vector<std::unique_ptr<CAbstractMpeg2VideoLayer>> m_layers;
    uint8_t m_hasSequenceHeader = 0;
    uint8_t m_hasSequenceExtension = 0;
    uint8_t m_hasGopHeader = 0;
    uint8_t m_hasSequenceEndCode = 0;
    uint8_t m_hasPictureHeader = 0;
};

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
