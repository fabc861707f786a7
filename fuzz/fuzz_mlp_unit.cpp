// Any bytes through the MLP access-unit parser (major syncs, substream directories), unit after unit.
#include "FuzzFile.h"
#include "es/audio/mlp/CMlpAccessUnit.h"
#include "input/CBinaryBuffer.h"

using namespace ts_comp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    CBinaryBuffer buffer;
    if (!buffer.Open(input.Path())) return 0;
    es::CMlpAccessUnit unit;
    try {
        for (int64_t before = buffer.Tell(); unit.Parse(buffer, buffer.GetSize()); before = buffer.Tell()) {
            if (buffer.Tell() <= before) break;
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
    }
    return 0;
}
