#pragma once

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
