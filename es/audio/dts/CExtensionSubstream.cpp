#include "es/audio/dts/CExtensionSubstream.h"

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace dts {

bool CExtensionSubstream::Parse(CBinaryBuffer& buffer) {
    const int64_t start = buffer.Tell();
    if (!header.Parse(buffer)) return false;
    buffer.Seek(start + header.nuExtSSHeaderSize, 0);
    extensionSubStreamSync = static_cast<uint32_t>(buffer.GetBits(32));
    buffer.Seek(start + header.nuExtSSFsize, 0);
    return true;
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
