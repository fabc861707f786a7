// Fuzz support: the input through a video access-unit splitter, every unit taken.
#pragma once

#include "FuzzFile.h"
#include "input/CBinaryBuffer.h"

namespace kiv_fuzz {

// The end of the file inside a unit may throw the bit buffer's exception; nothing else may escape.
template <class Parser>
int SplitAll(const uint8_t* data, size_t size) {
    FuzzFile input(data, size);
    Parser parser;
    if (!parser.Open(input.Path())) return 0;
    try {
        while (parser.GetNextAccessUnit() != nullptr) {
        }
    } catch (const ts_comp::CBinaryBuffer::BinaryBufferException&) {
    }
    return 0;
}

}  // namespace kiv_fuzz
