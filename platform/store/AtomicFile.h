#pragma once

#include "platform/store/ProfileFileOps.h"
#include "platform/store/UniqueFd.h"

#include <sys/types.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>

// Read-modify-replace of one file as a unit. open() follows symbolic links to the real file,
// takes an exclusive flock on its directory (other writers of any file there wait, lockWait at
// most; the lock goes with the process, so a killed writer never blocks anyone) and reads the
// current bytes. The lock is held until the object is destroyed. replace() writes a temporary file
// beside the target, flushes it, renames it over the target and flushes the directory, so readers
// see the old file or the new one and never a mix. A writer killed before its rename leaves its
// temporary file; the next save of the file removes it.
class AtomicFile {
public:
    AtomicFile(std::string path, const ProfileFileOps& ops, std::chrono::milliseconds lockWait);

    // False when the file can't be replaced: its directory is missing or read-only, another
    // writer kept the lock past lockWait (EWOULDBLOCK), or the file is read-only, not a regular
    // file or unreadable; errno says which. A missing file is fine.
    bool open();
    bool exists() const { return m_exists; }
    const std::string& contents() const { return m_contents; }

    // New files get 0666 less the umask; an existing file keeps its mode and, where allowed, its
    // owner. On failure the original is untouched and no temporary file is left, except when only
    // the final directory flush fails: then the new bytes are in place but maybe not durable.
    // errno tells the cause of a failure.
    // The new contents are the pieces one after the other, so a caller that changes a line of
    // a large file need not build a copy of it.
    bool replace(std::initializer_list<std::string_view> pieces);
    // After a failed replace(): the new bytes took the file's place, only flushing the directory
    // failed.
    bool replaced() const { return m_replaced; }

private:
    bool resolveLinks();
    bool openDirectory();
    void removeStaleTemps() const;
    bool readTarget();
    UniqueFd createTemp(std::string& name) const;
    bool fillTemp(int fd, std::initializer_list<std::string_view> pieces) const;

    const ProfileFileOps& m_ops;
    std::chrono::milliseconds m_lockWait;
    std::string m_path;
    std::string m_dir;
    UniqueFd m_dirFd;
    bool m_locked = false;
    bool m_exists = false;
    bool m_replaced = false;
    mode_t m_mode = 0;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    std::string m_contents;
};
