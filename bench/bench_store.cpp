// The store's key read and key write next to what a program could do instead: one full parse
// by inih, and one plain read and write of the same bytes with one flush to disk.

#include "BenchFiles.h"
#include "platform/store/PrivateProfile.h"
#include "platform/store/UniqueFd.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <ini.h>
#include <unistd.h>

#include <vector>

namespace {

BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

std::string FileFor(const FileSize& size, const LineEnd& end) {
    return Dir().put(std::string("store-") + end.name + "-" + size.name + ".ini",
                     SettingsText(size.bytes, end.eol));
}

void KeyRead(benchmark::State& state, std::string path, std::size_t bytes) {
    char buffer[1024];
    for (auto _ : state) {
        GetPrivateProfileString("Gomcfg", "Ntimelimit", "0", buffer, sizeof buffer, path.c_str());
        benchmark::DoNotOptimize(buffer);
    }
    if (std::string_view(buffer) != "0")
        state.SkipWithError("key not found");
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
}

int CountEntry(void* user, const char*, const char*, const char*) {
    ++*static_cast<long*>(user);
    return 1;
}

void InihParse(benchmark::State& state, std::string path, std::size_t bytes) {
    long entries = 0;
    for (auto _ : state) {
        if (ini_parse(path.c_str(), &CountEntry, &entries) != 0)
            state.SkipWithError("inih failed");
    }
    benchmark::DoNotOptimize(entries);
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
}

// Every write changes the value, so every write reaches the disk.
void KeyWrite(benchmark::State& state, std::string path, std::size_t bytes) {
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (!WritePrivateProfileString("Gomcfg", "Nfraglimit", flip ? "10" : "20", path.c_str()))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
}

// The least a careful save does: read the bytes, write them to a file, flush it.
void PlainCopy(benchmark::State& state, std::string path, std::size_t bytes) {
    std::vector<char> data(bytes + 1);
    const std::string copy = path + ".copy";
    for (auto _ : state) {
        const UniqueFd in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        const ssize_t n = ::read(in.get(), data.data(), data.size());
        UniqueFd out(::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (n < 0 || ::write(out.get(), data.data(), std::size_t(n)) != n ||
            ::fsync(out.get()) != 0 || !out.close())
            state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
}

void Register() {
    for (const LineEnd& end : kLineEnds)
        for (const FileSize& size : kFileSizes) {
            const std::string path = FileFor(size, end);
            const std::string suffix = std::string("/") + end.name + "/" + size.name;
            const std::size_t bytes = std::filesystem::file_size(path);
            benchmark::RegisterBenchmark(("StoreKeyRead" + suffix).c_str(), KeyRead, path, bytes)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("InihFullParse" + suffix).c_str(), InihParse, path, bytes)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("StoreKeyWrite" + suffix).c_str(), KeyWrite, path, bytes)
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("PlainCopyFsync" + suffix).c_str(), PlainCopy, path,
                                         bytes)
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();
            // A file with a second name is saved in place: a flushed copy of the old bytes
            // first, then the file itself.
            const std::string linked =
                Dir().put(std::string("store-linked-") + end.name + "-" + size.name + ".ini",
                          SettingsText(size.bytes, end.eol));
            ::link(linked.c_str(), (linked + ".link").c_str());
            benchmark::RegisterBenchmark(("StoreKeyWriteInPlace" + suffix).c_str(), KeyWrite,
                                         linked, bytes)
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();
        }
}

} // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
