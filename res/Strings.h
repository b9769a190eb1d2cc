#pragma once

// The program's own texts that are not part of a dialog template.
inline constexpr const char* kAppName = "Gomcfg2";
inline constexpr const char* kSheetCaption = "Gomcfg for Gomble Trove II";
inline constexpr const char* kExecutableName = "gomcfg2";
// The desktop entry's name without ".desktop" (dist/), which window managers match windows to.
inline constexpr const char* kDesktopFileName = "org.example.gomcfg.gomcfg2";
