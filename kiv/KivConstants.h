// Constants and texts of the KIV index layer: file types, item sizes, field ids and names.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace kiv {

// Values of the 4-byte kiv_file_type at the start of a KIV file (4 is not used).
constexpr uint32_t kKivFileTypeVideo = 1;
constexpr uint32_t kKivFileTypeAudio = 2;
constexpr uint32_t kKivFileTypeGraphics = 3;
constexpr uint32_t kKivFileTypeMvcDependentViewVideo = 5;

// Packed size in bytes of one item of each file type.
constexpr uint32_t kVideoItemSize = 15;
constexpr uint32_t kAudioItemSize = 14;
constexpr uint32_t kGraphicsItemSize = 15;
constexpr uint32_t kMvcDependentViewVideoItemSize = 23;

// Bytes of the file header (the kiv_file_type) before the first item.
constexpr uint64_t kKivHeaderSize = 4;
// Buffer of the CL_CFile through which a KIV file is read and written.
constexpr uint32_t kKivFileBufferSize = 262144;
// Widest field an item accepts.
constexpr uint64_t kKivMaxBitWidth = 64;

// Field ids shared by every item.
constexpr uint64_t kIdEncItemType = 0;
constexpr uint64_t kIdEncItemSize = 1;
constexpr uint64_t kIdDts = 2;
constexpr uint64_t kIdPts = 3;
constexpr uint64_t kIdReserved1 = 4;
// Field ids of video and MVC dependent-view items.
constexpr uint64_t kIdSequenceEndCode = 5;
constexpr uint64_t kIdClosedGop = 6;
constexpr uint64_t kIdPictureStructure = 7;
constexpr uint64_t kIdReserved2 = 8;
// Field ids of graphics items (5 to 7; 8 is reserved2 as for video).
constexpr uint64_t kIdEncSubItemType = 5;
constexpr uint64_t kIdFirstInSequenceFlag = 6;
constexpr uint64_t kIdLastInSequenceFlag = 7;
// Field ids added by MVC dependent-view items.
constexpr uint64_t kIdOffsetMetadataPos = 9;
constexpr uint64_t kIdOffsetMetadataSize = 10;

// enc_item_type of the item that closes every file.
constexpr uint64_t kEndItemType = 255;

// One row of a member table: id, name and width in bits, in the order the fields are packed.
struct KivMemberRow {
    uint64_t id;
    const char* name;
    uint64_t bitWidth;
};

constexpr KivMemberRow kCommonMembers[] = {
    {kIdEncItemType, "enc_item_type", 8}, {kIdEncItemSize, "enc_item_size", 32},
    {kIdDts, "dts", 33},                  {kIdPts, "pts", 33},
    {kIdReserved1, "reserved1", 6},
};
constexpr KivMemberRow kVideoMembers[] = {
    {kIdSequenceEndCode, "sequence_end_code", 1},
    {kIdClosedGop, "closed_gop", 1},
    {kIdPictureStructure, "picture_structure", 2},
    {kIdReserved2, "reserved2", 4},
};
constexpr KivMemberRow kGraphicsMembers[] = {
    {kIdEncSubItemType, "enc_sub_item_type", 2},
    {kIdFirstInSequenceFlag, "first_in_sequence_flag", 1},
    {kIdLastInSequenceFlag, "last_in_sequence_flag", 1},
    {kIdReserved2, "reserved2", 4},
};
constexpr KivMemberRow kMvcDependentViewMembers[] = {
    {kIdOffsetMetadataPos, "offset_metadata_pos", 32},
    {kIdOffsetMetadataSize, "offset_metadata_size", 32},
};

}  // namespace kiv
}  // namespace ts_comp
