// A folder of its own for one run's intermediate files, removed with everything in it.
#pragma once

#include <string>

namespace kivtool {

// Made under $TMPDIR (or /tmp); the destructor removes it.
class CScratchFolder {
public:
    CScratchFolder() = default;
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    // False with the system's reason when no folder could be made.
    bool Create(std::string& error);
    // The folder followed by "/", as the library takes a temporary folder.
    std::string Prefix() const { return m_path + "/"; }

private:
    std::string m_path;
};

}  // namespace kivtool
