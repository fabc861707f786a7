#include "es/audio/dts/CExtensionSubstream.h"

#include "input/CBitView.h"

namespace ts_comp {
namespace es {
namespace dts {

bool CExtensionSubstream::Parse(CBinaryBuffer& buffer) {
    CBitView view(buffer);
    return Parse(view);
}

bool CExtensionSubstream::Parse(CBitView& view) {
    const int64_t start = view.Tell();
    if (!header.Parse(view)) return false;
    view.Seek(start + header.nuExtSSHeaderSize);
    extensionSubStreamSync = static_cast<uint32_t>(view.Bits(32));
    view.Seek(start + header.nuExtSSFsize);
    return true;
}

void CExtensionSubstream::PassOver(CBitView& view) {
    const int64_t start = view.Tell();
    header.ParseSizes(view);
    view.Seek(start + header.nuExtSSFsize);
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
