#pragma once

#include <cstdint>

// The handful of platform type names the pages and codecs are written in.
using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using LPCSTR = const char*;
using LPSTR = char*;
