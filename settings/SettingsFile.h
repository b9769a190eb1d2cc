#pragma once

// Where the settings live: a bare file name, resolved by the store, and one section in it.
inline constexpr const char* kSettingsFileName = "GombleTroveII.ini";
inline constexpr const char* kSettingsSection = "Gomcfg";
// Every value is read into a buffer this large, so at most 1023 bytes of it are seen.
inline constexpr int kValueBufferSize = 1024;
