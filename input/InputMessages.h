// Constants and texts of the elementary-stream input layer.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace input_messages {

// Size of the read buffer of every plain ES file.
constexpr uint32_t kEsFileBufferSize = 262144;
// Bytes the Varnel implementation reads ahead for the bulk view.
constexpr uint32_t kVarnelChunkSize = 65536;
// Reads of at least this many bytes bypass the bit buffer's window.
constexpr uint32_t kDirectReadThreshold = 65536;
// Name suffix (compared byte for byte) of the files served by Varnel.
constexpr const char* kVarnelSuffix = "VES";
// Shared library that serves the Varnel files.
constexpr const char* kVarnelLibraryName = "libvarnel.so";
// Open mode of a plain ES file.
constexpr const char* kEsFileOpenMode = "rb";
// Texts reported by the bit buffer's exceptions.
constexpr const char* kBinaryBufferExceptionText = "Unknown exception";
constexpr const char* kBinaryBufferReadExceptionText = "Unknown exception";

}  // namespace input_messages
}  // namespace ts_comp
