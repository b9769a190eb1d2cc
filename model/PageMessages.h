#pragma once

#include "settings/SettingsSession.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the pages say, once for every front end. Templates carry %1, %2, ... where a value goes;
// the functions below fill them.
namespace PageText {
// A number box that holds no whole number, or one outside the key's range (%1 to %2).
inline constexpr const char* kNotANumber = "Please enter a whole number.";
inline constexpr const char* kRangeRefusal = "Please enter a whole number from %1 to %2.";

// The question when another program changed keys the user changed too: %1 the settings file's
// name, %2 one conflict line per key.
inline constexpr const char* kConflictQuestion =
    "Another program changed these settings in %1 after they were read, and they were changed "
    "here too:\n\n%2\nOverwrite them with the values here?\n"
    "Yes saves the values here, No keeps the file's values, Cancel saves nothing.";
// One line of it: %1 the key, %2 what the file holds (one of the next two), %3 the value here.
inline constexpr const char* kConflictLine = "%1: %2, %3 here";
inline constexpr const char* kConflictInFile = "%1 in the file";
inline constexpr const char* kConflictNotInFile = "not in the file";
inline constexpr const char* kEmptyValue = "(empty)";
// A value longer than this many characters is cut to them, followed by "...".
inline constexpr std::size_t kLongValueLimit = 60;
inline constexpr const char* kLongValueEnd = "...";

// The weapon rows' reports, shown as they are (no "ERROR: %s" around them).
inline constexpr const char* kWeaponFlagUnreadable =
    "ERROR: problem in .ini file..\nFunction LoadDataItemON()";
inline constexpr const char* kWeaponSubstituteUnreadable =
    "ERROR: problem in .ini file\n in function LoadDataItem()\n";
inline constexpr const char* kWeaponIdUnknown =
    "ERROR: in LoadDataThingy()\nCan't have a default!!!\n";
inline constexpr const char* kStatusCheckerWithoutControl =
    "ERROR in StatusChecker()\nHey moron, dontcha' know yer supposed to pass a\nparameter to this "
    "function!\nPS: If you didn't code this, tell the guy who did";
inline constexpr const char* kWeaponSaveFailure = "ERROR: Problem saving GombleTroveII.ini";
// The other codecs' report: "ERROR: %s\n" around the text.
inline constexpr const char* kErrorFormat = "ERROR: %1\n";
inline constexpr const char* kSaveFailureText = "Problem saving GombleTroveII.ini";

// The message-of-the-day preview when the file cannot be read: when the page is shown, and
// after the editor closed.
inline constexpr const char* kMotdMissing = "Put Your\r\nWelcome Message\r\nHere\r\n";
inline constexpr const char* kMotdMissingAfterEdit = "Put your motd text here...\n";
} // namespace PageText

// text with %1, %2, ... replaced by args, in one pass (an argument's own "%2" stays as it is).
std::string FillPlaceholders(std::string_view text, const std::vector<std::string>& args);

std::string RangeRefusal(int minValue, int maxValue);
// "ERROR: text" and a line break, as the codecs report.
std::string ErrorReport(std::string_view text);
// The failure of one write, as the codec that writes key reports it.
std::string SaveFailureFor(std::string_view key);

// A value as the conflict question shows it: an empty one named, a long one cut short (never
// inside a UTF-8 character).
std::string ShortenedValue(std::string_view text);
// The whole question for conflicts, in their order.
std::string ConflictQuestion(const std::vector<SettingsSession::Conflict>& conflicts);
