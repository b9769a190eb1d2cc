#pragma once

#include "platform/store/FileAttributes.h"
#include "platform/store/ProfileFileOps.h"
#include "platform/store/UniqueFd.h"

#include <sys/stat.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>

// Read-modify-replace of one file as a unit. open() follows symbolic links to the real file,
// takes an exclusive flock on its directory and then on the file itself (other writers through
// any of its names wait, lockWait at most in all; the locks go with the process, so a killed
// writer never blocks anyone), checks that the name still leads to the file it locked, and reads
// the current bytes. The locks are held until the object is destroyed; readers of ours take a
// shared lock of the file, so they wait for a save under way.
//
// replace() normally writes a temporary file beside the target, gives it the target's owner,
// group, mode and extended attributes (the ACL among them), flushes it, renames it over the
// target and flushes the directory, so readers see the old file or the new one and never a mix.
// When a new file can't be the old one in all of that (the target has other hard links, or the
// writer may not give the new file its owner, group or an attribute), the target is rewritten in
// place instead: first a flushed copy of the old bytes goes beside it, readable by the writer
// alone (SaveCopyFileName), then the new bytes are written over the old ones and flushed, then
// the copy is removed. Nothing ever reads a copy back: one that a crash left is for an admin to
// look at (LeftoverSaveCopies). Only files whose names prove them ours are ever removed.
class AtomicFile {
public:
    AtomicFile(std::string path, const ProfileFileOps& ops, std::chrono::milliseconds lockWait);

    // False when the file can't be replaced: its directory is missing or read-only, another
    // writer kept a lock past lockWait (EWOULDBLOCK), or the file is read-only, not a regular
    // file or unreadable; errno says which. A missing file is fine.
    bool open();
    bool exists() const { return m_exists; }
    const std::string& contents() const { return m_contents; }

    // New files get 0666 less the umask. On failure the original is untouched and nothing of
    // ours is left behind, except when only the final flush fails (contentsWritten()).
    // errno tells the cause of a failure.
    // The new contents are the pieces one after the other, so a caller that changes a line of
    // a large file need not build a copy of it.
    bool replace(std::initializer_list<std::string_view> pieces);

    // After a failed replace(): the new bytes are in the file already and only the last step
    // failed, the flush of the directory after the rename, or in place the removal of the copy
    // and its flush, so they might not survive a power cut. In place, a failed flush of the file
    // itself puts the old bytes back instead. errno ESTALE: another program, one that ignores
    // our lock, replaced the file during an in-place save; its file stays and ours is undone.
    bool contentsWritten() const { return m_contentsWritten; }

private:
    bool openDirectory(std::chrono::steady_clock::time_point deadline);
    bool lockAndReadTarget(std::chrono::steady_clock::time_point deadline);
    bool stillNamed(const struct stat& file) const;
    void removeStaleTemps() const;
    UniqueFd createTemp(std::string& name, mode_t mode) const;
    bool writeAll(int fd, std::initializer_list<std::string_view> pieces) const;
    bool overwrite(int fd, std::initializer_list<std::string_view> pieces, std::size_t size) const;
    bool replaceInPlace(std::initializer_list<std::string_view> pieces);
    bool putCopy(std::string_view bytes);
    bool removeCopy() const;

    const ProfileFileOps& m_ops;
    std::chrono::milliseconds m_lockWait;
    std::string m_path;
    std::string m_dir;
    std::string m_baseName;
    UniqueFd m_dirFd;
    UniqueFd m_targetFd; // holds the file's lock
    bool m_locked = false;
    bool m_exists = false;
    struct stat m_target {};
    FileAttributes m_attributes;
    std::string m_copyName;
    bool m_contentsWritten = false;
    std::string m_contents;
};
