// Texts of the kivtool program: usage, version and its own messages.
#pragma once

namespace kivtool {
namespace text {

constexpr const char kProgramPrefix[] = "kivtool: ";
constexpr const char kUsage[] =
    "usage: kivtool create [--type TYPE] [--start-pts N]... [--temp-dir DIR] [--xml FILE] [--report FILE|-]\n"
    "                      [--quiet] ES_FILE KIV_FILE\n"
    "       kivtool info   [--type TYPE] [--xml | --report] ES_FILE\n"
    "       kivtool dump   [--format text|csv|json] KIV_FILE\n"
    "       kivtool probe  ES_FILE...\n"
    "       kivtool batch  [--jobs N] [--out-dir DIR] [--type TYPE] [--start-pts N]... ES_FILE...\n"
    "       kivtool --help | --version\n";
constexpr const char kHelpDetails[] =
    "\n"
    "Indexes an elementary stream into a KIV file and shows stream attributes.\n"
    "\n"
    "  TYPE           mpeg2 avc vc1 lpcm ac3 dts mlp dra pg ig, or the number 1 to 10; without --type\n"
    "                 the kind is told from the stream's first bytes ('kivtool probe' shows how)\n"
    "  --start-pts N  start presentation time stamp in 90 kHz units (32 bits); repeat it or give\n"
    "                 a comma-separated list; without it one value 0 is used; in a batch, lpcm, mlp\n"
    "                 and dra take the first value of the list\n"
    "  --temp-dir DIR folder for intermediate files of interactive graphics\n"
    "  --xml FILE     after a successful run, write the stream's XML attributes to FILE\n"
    "  --report FILE  after a successful run, write the text report to FILE ('-' for stdout)\n"
    "  --quiet        draw no progress bar and no summary line\n"
    "  --jobs N       batch: files indexed at a time (default: the number of cores)\n"
    "  --out-dir DIR  batch: folder of NAME.kiv, NAME.xml and NAME.txt for each ES_FILE (default .)\n"
    "\n"
    "Exit status: 0 success, 1 the library reported a failure (batch: some file failed; probe: some\n"
    "kind could not be told), 2 usage error, 3 other error.\n";
constexpr const char kVersionFormat[] = "kivtool %s\n";

constexpr const char kMissingCommand[] = "missing command";
constexpr const char kUnknownCommand[] = "unknown command '%s'";
constexpr const char kUnknownOption[] = "unknown option '%s'";
constexpr const char kMissingValue[] = "option '%s' needs a value";
constexpr const char kProbeCannotOpen[] = "unknown (cannot open: %s)";
constexpr const char kProbeUnknown[] = "unknown (no sync word or header of a known kind in its first bytes)";
constexpr const char kCannotOpen[] = "cannot open '%s': ";
constexpr const char kKindUnknown[] = "cannot tell the stream kind of '%s' from its first bytes; give --type";
constexpr const char kKindUnsure[] = "cannot tell the stream kind of '%s': it could be ";
constexpr const char kGiveType[] = "; give --type";
constexpr const char kBadType[] = "unknown stream type '%s'";
constexpr const char kBadStartPts[] = "bad --start-pts value '%s' (0 to 4294967295)";
constexpr const char kWrongOperands[] = "expected %s";
constexpr const char kBothXmlAndReport[] = "--xml and --report exclude each other";
constexpr const char kCannotWrite[] = "cannot write %s";
constexpr const char kNoFolder[] = ": folder %s does not exist";
constexpr const char kFolderNotWritable[] = ": folder %s is not writable";
constexpr const char kOneStartValue[] = "%s takes exactly one --start-pts value, ";
constexpr const char kValuesGiven[] = " given";
constexpr const char kNoReason[] = "the stream could not be indexed (the library gave no reason); kind %s";
constexpr const char kNoReasonFile[] = ", file %s";
constexpr const char kSummary[] = "%s: %lld units, %lld bytes in %.3f s (%.1f MB/s)";
constexpr const char kSummaryKiv[] = " -> %s";
constexpr const char kBadJobs[] = "bad --jobs value '%s' (1 to 256)";
constexpr const char kSameOutput[] = "two files would both be written to %s";
constexpr const char kPartialSuffix[] = ".kiv.part";
constexpr const char kNotStarted[] = "not started (interrupted)";
constexpr const char kBatchSummary[] = "batch: %zu indexed, %zu failed, %lld bytes in %.3f s (%.1f MB/s)\n";
constexpr const char kAborted[] = "abort end.";

}  // namespace text
}  // namespace kivtool
