// Reads one key from a settings file of arbitrary bytes.

#include "FuzzSupport.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string section = PickName(data, true);
    const std::string key = PickName(data, false);
    const DWORD bufferSize = data.ConsumeIntegralInRange<DWORD>(0, 1100);
    if (!PutScratchFile(data.ConsumeRemainingBytesAsString()))
        std::abort();

    std::vector<char> buffer(bufferSize + 1, '#');
    const DWORD length = GetPrivateProfileString(section.c_str(), key.c_str(), "default",
                                                 buffer.data(), bufferSize, ScratchFile().c_str());
    // The result always fits, ends in a NUL, and leaves the byte past the buffer alone.
    if (bufferSize == 0 ? length != 0
                        : length >= bufferSize || buffer[length] != '\0' ||
                              std::strlen(buffer.data()) != length)
        std::abort();
    if (buffer[bufferSize] != '#')
        std::abort();
    return 0;
}
