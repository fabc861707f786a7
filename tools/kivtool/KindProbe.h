// Finds the stream kind of an ES file from its first bytes.
#pragma once

#include <string>
#include <vector>

namespace kivtool {

// One kind a stream could be, and what in its first bytes says so.
struct KindMatch {
    int type;
    std::string why;
};

// What the probers found in one file: one match is the kind, none is unknown, several leave it open.
struct ProbeOutcome {
    bool opened = false;
    std::string error;
    std::vector<KindMatch> matches;
};

// Runs the prober of every kind over the file's first 64 KiB (and the unit that follows them).
ProbeOutcome ProbeStream(const std::string& path);

// The line `kivtool probe` prints for the file, without its line end.
std::string ProbeLine(const std::string& path, const ProbeOutcome& outcome);

// The kind to index the file as: `given` when it is not 0, else the one kind the probers found.
// False with the reason (no kind, or the kinds it hesitates between) otherwise.
bool ResolveKind(int given, const std::string& path, int& type, std::string& reason);

}  // namespace kivtool
