// Constants and texts of the analyser base shared by every analyser.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ts_comp {
namespace es {

// Schema namespace carried by the root element of every analyser's XML attribute text.
constexpr const char* kXmlNamespace = "urn:kiv:es-attribute:1.0";
// Declaration that opens every XML attribute text.
constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" standalone=\"yes\"?>";
// Report of an analyser that has no text report of its own.
constexpr const char* kReportNotDefined = "Not Define";
// Failure of WriteXmlFile to create its file.
constexpr const char* kMsgXmlFileCannotCreate = "A xml file cannot create.";
// Temporary folder of an analyser until the driver sets one.
constexpr const char* kDefaultTempPath = "./";
// Buffer of the CL_CFile that writes an XML file, and its open mode.
constexpr uint32_t kXmlFileBufferSize = 262144;
constexpr const char* kXmlFileOpenMode = "wt";
// Video pictures held at most while they wait for the next I or P picture: far more B pictures than any
// encoder puts between two anchors, and a bound on memory whatever the stream.
constexpr size_t kMaxHeldPictures = 1024;
constexpr const char* kMsgTooManyHeldPictures =
    "\nToo many B pictures follow one another without an I or P picture. (pos = %wd[byte])";
// Source name of the base's throw sites.
constexpr const char* kSourceEs = "Es";

}  // namespace es
}  // namespace ts_comp
