// Texts of the kivtool program: usage, version and its own messages.
#pragma once

namespace kivtool {
namespace text {

constexpr const char kProgramPrefix[] = "kivtool: ";
constexpr const char kUsage[] =
    "usage: kivtool create --type TYPE [--start-pts N]... [--temp-dir DIR] [--xml FILE] [--report FILE|-]\n"
    "                      [--quiet] ES_FILE KIV_FILE\n"
    "       kivtool info   --type TYPE [--xml | --report] ES_FILE\n"
    "       kivtool dump   [--format text|csv|json] KIV_FILE\n"
    "       kivtool --help | --version\n";
constexpr const char kHelpDetails[] =
    "\n"
    "Indexes an elementary stream into a KIV file and shows stream attributes.\n"
    "\n"
    "  TYPE           mpeg2 avc vc1 lpcm ac3 dts mlp dra pg ig, or the number 1 to 10\n"
    "  --start-pts N  start presentation time stamp in 90 kHz units (32 bits); repeat it or give\n"
    "                 a comma-separated list; without it one value 0 is used\n"
    "  --temp-dir DIR folder for intermediate files of interactive graphics\n"
    "  --xml FILE     after a successful run, write the stream's XML attributes to FILE\n"
    "  --report FILE  after a successful run, write the text report to FILE ('-' for stdout)\n"
    "  --quiet        draw no progress bar\n"
    "\n"
    "Exit status: 0 success, 1 the library reported a failure, 2 usage error, 3 other error.\n";
constexpr const char kVersionFormat[] = "kivtool %s\n";

constexpr const char kMissingCommand[] = "missing command";
constexpr const char kUnknownCommand[] = "unknown command '%s'";
constexpr const char kUnknownOption[] = "unknown option '%s'";
constexpr const char kMissingValue[] = "option '%s' needs a value";
constexpr const char kMissingType[] = "--type is required";
constexpr const char kBadType[] = "unknown stream type '%s'";
constexpr const char kBadStartPts[] = "bad --start-pts value '%s' (0 to 4294967295)";
constexpr const char kWrongOperands[] = "expected %s";
constexpr const char kBothXmlAndReport[] = "--xml and --report exclude each other";
constexpr const char kCannotWrite[] = "cannot write %s";
constexpr const char kAborted[] = "abort end.";

}  // namespace text
}  // namespace kivtool
