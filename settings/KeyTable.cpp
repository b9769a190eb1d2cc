#include "settings/KeyTable.h"

#include "platform/AsciiCase.h"

namespace {
// The tabs, by caption.
constexpr const char* kWeapons = "Weapons";
constexpr const char* kGombleStuff = "Gomble Stuff";
constexpr const char* kServerOptions = "Server Options";
constexpr const char* kServices = "Services";
constexpr const char* kCtf = "C.T.F.";

constexpr SettingKey kKeys[] = {
    {"shotgun", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"shotgunT", SettingType::WeaponToken, "shotgun", 0, 0, kWeapons},
    {"supershotgun", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"supershotgunT", SettingType::WeaponToken, "supershotgun", 0, 0, kWeapons},
    {"machinegun", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"machinegunT", SettingType::WeaponToken, "machinegun", 0, 0, kWeapons},
    {"chaingun", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"chaingunT", SettingType::WeaponToken, "chaingun", 0, 0, kWeapons},
    {"grenades", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"grenadesT", SettingType::WeaponToken, "grenades", 0, 0, kWeapons},
    {"rockets", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"rocketsT", SettingType::WeaponToken, "rockets", 0, 0, kWeapons},
    {"hyperblaster", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"hyperblasterT", SettingType::WeaponToken, "hyperblaster", 0, 0, kWeapons},
    {"railgun", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"railgunT", SettingType::WeaponToken, "railgun", 0, 0, kWeapons},
    {"bfg", SettingType::Boolean, "true", 0, 0, kWeapons},
    {"bfgT", SettingType::WeaponToken, "bfg", 0, 0, kWeapons},
    {"show_motd", SettingType::Boolean, "true", 0, 0, kGombleStuff},
    {"grapple", SettingType::Boolean, "true", 0, 0, kGombleStuff},
    {"choker", SettingType::Boolean, "true", 0, 0, kGombleStuff},
    {"chainrailgun", SettingType::Boolean, "true", 0, 0, kGombleStuff},
    {"samemap", SettingType::Boolean, "false", 0, 0, kServerOptions},
    {"cheating", SettingType::Boolean, "false", 0, 0, kServerOptions},
    {"noexit", SettingType::Boolean, "false", 0, 0, kServerOptions},
    {"Nfraglimit", SettingType::Integer, "0", 0, 1000, kServerOptions},
    {"Ntimelimit", SettingType::Integer, "0", 0, 1000, kServerOptions},
    {"isc", SettingType::Boolean, "true", 0, 0, kServices},
    {"http", SettingType::Boolean, "true", 0, 0, kServices},
    {"finger", SettingType::Boolean, "true", 0, 0, kServices},
    {"sender", SettingType::Boolean, "true", 0, 0, kServices},
    {"banning", SettingType::Boolean, "true", 0, 0, kServices},
    {"Nhttpport", SettingType::Integer, "80", 1, 64000, kServices},
    {"Nfingerport", SettingType::Integer, "79", 1, 64000, kServices},
    {"ctf", SettingType::Boolean, "false", 0, 0, kCtf},
    {"teamplay", SettingType::Boolean, "true", 0, 0, kCtf},
};
} // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

bool WithinRange(const SettingKey& key, int value) {
    return value >= key.minValue && value <= key.maxValue;
}

const SettingKey* FindSettingKey(std::string_view key) {
    for (const SettingKey& entry : kKeys) {
        if (EqualsIgnoringAsciiCase(entry.key, key))
            return &entry;
    }
    return nullptr;
}

const char* SettingTypeName(SettingType type) {
    switch (type) {
    case SettingType::Boolean:
        return "boolean";
    case SettingType::Integer:
        return "integer";
    case SettingType::WeaponToken:
        return "weapon";
    }
    return "";
}
