#pragma once

// gomcfgctl run in-process on a file in a temporary directory: one row says what the file holds
// before, the arguments, and the exit status, output, complaints and file after.

#include "cli/Gomcfgctl.h"
#include "support/StoreSupport.h"
#include "support/WorkDir.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ctl_rows {

inline const std::string kFile = "GombleTroveII.ini";

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// gomcfgctl run in this process; io and beforeWrite as RunGomcfgctl takes them.
inline CtlRun ctl(const std::vector<std::string>& args, const ProfileIo& io = kSystemProfileIo,
                  std::function<void()> beforeWrite = {}) {
    std::ostringstream out;
    std::ostringstream err;
    CtlRun run;
    run.status = RunGomcfgctl(args, out, err, io, std::move(beforeWrite));
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::string joined(const std::vector<std::string>& args) {
    std::string text = "gomcfgctl";
    for (const std::string& arg : args)
        text += " '" + arg + "'";
    return text;
}

inline std::string sampleFile() {
    std::ifstream file(GOMCFG_SOURCE_DIR "/sample/GombleTroveII.ini", std::ios::binary);
    EXPECT_TRUE(file.is_open());
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Far in the past, so a rewrite within the same second still shows.
inline void age(const std::string& path) {
    const timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

inline bool untouched(const WorkDir& dir, const std::string& before) {
    struct stat st {};
    return ::stat(dir.filePath(kFile).c_str(), &st) == 0 && st.st_mtim.tv_sec == 1000000000 &&
           bytesOf(dir, kFile) == before;
}

struct Row {
    std::vector<std::string> args;
    std::optional<std::string> before; // the settings file; nothing: there is none
    int status;
    std::string out;
    std::string err;
    std::optional<std::string> after = {}; // nothing: left as it was, down to its time
};

// Each row in a directory of its own, which is the current directory and $GOMCFG_WINDIR.
inline void expectRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        WorkDir dir;
        if (row.before) {
            putBytes(dir, *row.before, kFile);
            age(dir.filePath(kFile));
        }
        const CtlRun run = ctl(row.args);
        const std::string what = joined(row.args);
        EXPECT_EQ(run.status, row.status) << what << "\n" << run.err;
        EXPECT_EQ(run.out, row.out) << what;
        EXPECT_EQ(run.err, row.err) << what;
        if (row.after)
            EXPECT_EQ(bytesOf(dir, kFile), *row.after) << what;
        else if (row.before)
            EXPECT_TRUE(untouched(dir, *row.before)) << what;
        else
            EXPECT_FALSE(dir.exists(kFile)) << what;
        // No temporary file left, no directory made.
        const std::set<std::string> entries = entriesOf(dir.path());
        EXPECT_TRUE(entries.empty() || entries == std::set<std::string>{kFile}) << what;
    }
}

} // namespace ctl_rows
