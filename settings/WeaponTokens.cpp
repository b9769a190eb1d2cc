#include "settings/WeaponTokens.h"

#include <cstring>

namespace {
constexpr const char* kWeaponTokens[kWeaponCount] = {
    "bfg",     "chaingun", "grenades", "hyperblaster", "machinegun",
    "railgun", "rockets",  "shotgun",  "supershotgun",
};
constexpr const char* kWeaponNames[kWeaponCount] = {
    "BFG",     "Chaingun",        "Grenade Launcher", "Hyper Blaster", "Machinegun",
    "Railgun", "Rocket Launcher", "Shotgun",          "Super shotgun",
};
} // namespace

const char* WeaponTokenFromIndex(int index) {
    return index >= 0 && index < kWeaponCount ? kWeaponTokens[index] : nullptr;
}

int WeaponIndexFromToken(const char* text) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (text && std::strcmp(text, kWeaponTokens[i]) == 0)
            return i;
    }
    return -1;
}

const char* WeaponShownName(int index) {
    return index >= 0 && index < kWeaponCount ? kWeaponNames[index] : nullptr;
}

std::string SubstituteKey(std::string_view token) {
    return std::string(token) + "T";
}

bool IsWeaponKey(std::string_view key) {
    for (const char* token : kWeaponTokens) {
        if (key == token || key == SubstituteKey(token))
            return true;
    }
    return false;
}
