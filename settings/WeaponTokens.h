#pragma once

#include <string>
#include <string_view>

// The nine weapons, numbered 0 to 8 (WeaponId) in byte order of their tokens. A token is both
// the key of the weapon's enabled flag and the text by which a substitute names the weapon.
inline constexpr int kWeaponCount = 9;

// The token of weapon index, or nullptr outside 0 to 8.
const char* WeaponTokenFromIndex(int index);
// The weapon whose token equals text byte for byte, or -1.
int WeaponIndexFromToken(const char* text);
// The name the substitute lists show for weapon index ("Rocket Launcher"), or nullptr.
const char* WeaponShownName(int index);

// The key of a weapon's substitute: its token with "T" appended ("railgunT").
std::string SubstituteKey(std::string_view token);
// Whether key is one of a weapon's pair (its flag or its substitute), exactly as written.
bool IsWeaponKey(std::string_view key);
