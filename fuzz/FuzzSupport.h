#pragma once

#include "platform/store/PrivateProfile.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// Shared by the store's fuzz targets: one scratch directory per process, a file name in it, and
// names picked by the input (mostly from a small table so that hits are likely).

inline const std::string& ScratchFile() {
    static const std::string path = [] {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string dir = std::string(base) + "/gomcfg-fuzz-XXXXXX";
        if (!::mkdtemp(dir.data()))
            std::abort();
        return dir + "/fuzz.ini";
    }();
    return path;
}

// Saves that skip the flush to disk: durability is not what the fuzzer looks at, speed is.
inline constexpr ProfileFileOps kUnflushedOps{&::write, [](int) { return 0; }, &std::rename};
inline constexpr ProfileIo kUnflushed{.ops = &kUnflushedOps};

inline bool PutScratchFile(const std::string& bytes) {
    FILE* f = std::fopen(ScratchFile().c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline std::string ScratchFileBytes() {
    std::string bytes;
    if (FILE* f = std::fopen(ScratchFile().c_str(), "rb")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

inline std::string PickName(FuzzedDataProvider& data, bool section) {
    static const char* const kSections[] = {"Gomcfg", " gomcfg ", "S", "x y", "", "[a]"};
    static const char* const kKeys[] = {"shotgun", "SHOTGUN ", "Nfraglimit", "k", "a b", "="};
    const auto choice = data.ConsumeIntegral<unsigned char>();
    if (choice >= 240) {
        const std::string name = data.ConsumeRandomLengthString(16);
        return name.c_str(); // the API takes C strings
    }
    return section ? kSections[choice % std::size(kSections)] : kKeys[choice % std::size(kKeys)];
}
