#pragma once

// The items of every substitute list on the Weapons page, in stored order. The lists are
// sorted, so position i shows the weapon whose WeaponId is i.
inline constexpr const char* kWeaponItems[] = {
    "Shotgun",         "Super shotgun", "Machinegun", "Chaingun", "Grenade Launcher",
    "Rocket Launcher", "Hyper Blaster", "Railgun",    "BFG",
};
