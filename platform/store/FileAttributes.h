#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

// What makes a file somebody's besides its bytes: owner, group, mode and extended attributes,
// among them the access ACL (system.posix_acl_access). A save by rename hands them to the new
// file; when it cannot hand over all of them, the save rewrites the old file in place instead.
class FileAttributes {
public:
    // Reads them from an open file; st is its fstat.
    static FileAttributes of(int fd, const struct stat& st);

    // False when some extended attribute could not be read: a copy would lose it.
    bool copyable() const { return m_copyable; }

    // Gives the (new, empty, our own) file fd the same attributes, drops any it got that the
    // original lacks (e.g. from a default ACL of the directory), and says whether it now carries
    // exactly these: not when owner or group could not be given to it.
    bool copyTo(int fd) const;

private:
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    mode_t m_mode = 0;
    std::vector<std::pair<std::string, std::string>> m_xattrs;
    bool m_copyable = true;
};
