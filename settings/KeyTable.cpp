#include "settings/KeyTable.h"

#include <algorithm>

namespace {
constexpr SettingKey kKeys[] = {
    {"shotgun", SettingType::Boolean, "true", 0, 0, 105, "Shotgun"},
    {"shotgunT", SettingType::WeaponToken, "shotgun", 0, 0, 105, "Shotgun substitute"},
    {"supershotgun", SettingType::Boolean, "true", 0, 0, 105, "Super Shotgun"},
    {"supershotgunT", SettingType::WeaponToken, "supershotgun", 0, 0, 105,
     "Super Shotgun substitute"},
    {"machinegun", SettingType::Boolean, "true", 0, 0, 105, "Machingun"},
    {"machinegunT", SettingType::WeaponToken, "machinegun", 0, 0, 105, "Machingun substitute"},
    {"chaingun", SettingType::Boolean, "true", 0, 0, 105, "Chaingun"},
    {"chaingunT", SettingType::WeaponToken, "chaingun", 0, 0, 105, "Chaingun substitute"},
    {"grenades", SettingType::Boolean, "true", 0, 0, 105, "Grenade Launcher"},
    {"grenadesT", SettingType::WeaponToken, "grenades", 0, 0, 105, "Grenade Launcher substitute"},
    {"rockets", SettingType::Boolean, "true", 0, 0, 105, "Rocket Launcher"},
    {"rocketsT", SettingType::WeaponToken, "rockets", 0, 0, 105, "Rocket Launcher substitute"},
    {"hyperblaster", SettingType::Boolean, "true", 0, 0, 105, "HyperBlaster"},
    {"hyperblasterT", SettingType::WeaponToken, "hyperblaster", 0, 0, 105,
     "HyperBlaster substitute"},
    {"railgun", SettingType::Boolean, "true", 0, 0, 105, "Railgun"},
    {"railgunT", SettingType::WeaponToken, "railgun", 0, 0, 105, "Railgun substitute"},
    {"bfg", SettingType::Boolean, "true", 0, 0, 105, "BFG"},
    {"bfgT", SettingType::WeaponToken, "bfg", 0, 0, 105, "BFG substitute"},
    {"show_motd", SettingType::Boolean, "true", 0, 0, 106, "Motd Enabled"},
    {"grapple", SettingType::Boolean, "true", 0, 0, 106, "Grapple"},
    {"choker", SettingType::Boolean, "true", 0, 0, 106, "Choker"},
    {"chainrailgun", SettingType::Boolean, "true", 0, 0, 106, "ChainRailGun"},
    {"samemap", SettingType::Boolean, "false", 0, 0, 134, "Same Map"},
    {"cheating", SettingType::Boolean, "false", 0, 0, 134, "Cheating"},
    {"noexit", SettingType::Boolean, "false", 0, 0, 134, "No exit"},
    {"Nfraglimit", SettingType::Integer, "0", 0, 1000, 134, "Frag Limit:"},
    {"Ntimelimit", SettingType::Integer, "0", 0, 1000, 134, "Time Limit:"},
    {"isc", SettingType::Boolean, "true", 0, 0, 135, "Inter-Server Chat (I.S.C.)"},
    {"http", SettingType::Boolean, "true", 0, 0, 135, "Web Server"},
    {"finger", SettingType::Boolean, "true", 0, 0, 135, "Finger Service"},
    {"sender", SettingType::Boolean, "true", 0, 0, 135, "Auto High Score Updater"},
    {"banning", SettingType::Boolean, "true", 0, 0, 135, "Enable IP banning files?"},
    {"Nhttpport", SettingType::Integer, "80", 1, 64000, 135, "Web Server port"},
    {"Nfingerport", SettingType::Integer, "79", 1, 64000, 135, "Finger Service port"},
    {"ctf", SettingType::Boolean, "false", 0, 0, 136, "C.T.F."},
    {"teamplay", SettingType::Boolean, "true", 0, 0, 136, "Teamplay"},
};
} // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(std::string_view key) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const SettingKey& entry : kKeys) {
        const std::string_view name = entry.key;
        if (name.size() == key.size() &&
            std::equal(name.begin(), name.end(), key.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); }))
            return &entry;
    }
    return nullptr;
}

const char* SettingTabCaption(int dialogId) {
    switch (dialogId) {
    case 105:
        return "Weapons";
    case 106:
        return "Gomble Stuff";
    case 134:
        return "Server Options";
    case 135:
        return "Services";
    case 136:
        return "C.T.F.";
    case 133:
        return "About";
    default:
        return nullptr;
    }
}
