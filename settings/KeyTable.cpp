#include "settings/KeyTable.h"

#include "platform/AsciiCase.h"
#include "res/ControlIds.h"

namespace {
constexpr SettingKey kKeys[] = {
    {"shotgun", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Shotgun", IDC_SHOTGUN},
    {"shotgunT", SettingType::WeaponToken, "shotgun", 0, 0, IDD_WEAPONS, "Shotgun substitute",
     IDC_SHOTGUN_LIST},
    {"supershotgun", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Super Shotgun",
     IDC_SUPERSHOTGUN},
    {"supershotgunT", SettingType::WeaponToken, "supershotgun", 0, 0, IDD_WEAPONS,
     "Super Shotgun substitute", IDC_SUPERSHOTGUN_LIST},
    {"machinegun", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Machingun", IDC_MACHINEGUN},
    {"machinegunT", SettingType::WeaponToken, "machinegun", 0, 0, IDD_WEAPONS,
     "Machingun substitute", IDC_MACHINEGUN_LIST},
    {"chaingun", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Chaingun", IDC_CHAINGUN},
    {"chaingunT", SettingType::WeaponToken, "chaingun", 0, 0, IDD_WEAPONS, "Chaingun substitute",
     IDC_CHAINGUN_LIST},
    {"grenades", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Grenade Launcher", IDC_GRENADES},
    {"grenadesT", SettingType::WeaponToken, "grenades", 0, 0, IDD_WEAPONS,
     "Grenade Launcher substitute", IDC_GRENADES_LIST},
    {"rockets", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Rocket Launcher", IDC_ROCKETS},
    {"rocketsT", SettingType::WeaponToken, "rockets", 0, 0, IDD_WEAPONS,
     "Rocket Launcher substitute", IDC_ROCKETS_LIST},
    {"hyperblaster", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "HyperBlaster",
     IDC_HYPERBLASTER},
    {"hyperblasterT", SettingType::WeaponToken, "hyperblaster", 0, 0, IDD_WEAPONS,
     "HyperBlaster substitute", IDC_HYPERBLASTER_LIST},
    {"railgun", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "Railgun", IDC_RAILGUN},
    {"railgunT", SettingType::WeaponToken, "railgun", 0, 0, IDD_WEAPONS, "Railgun substitute",
     IDC_RAILGUN_LIST},
    {"bfg", SettingType::Boolean, "true", 0, 0, IDD_WEAPONS, "BFG", IDC_BFG},
    {"bfgT", SettingType::WeaponToken, "bfg", 0, 0, IDD_WEAPONS, "BFG substitute", IDC_BFG_LIST},
    {"show_motd", SettingType::Boolean, "true", 0, 0, IDD_GOMBLE_STUFF, "Motd Enabled",
     IDC_MOTD_ENABLED},
    {"grapple", SettingType::Boolean, "true", 0, 0, IDD_GOMBLE_STUFF, "Grapple", IDC_GRAPPLE},
    {"choker", SettingType::Boolean, "true", 0, 0, IDD_GOMBLE_STUFF, "Choker", IDC_CHOKER},
    {"chainrailgun", SettingType::Boolean, "true", 0, 0, IDD_GOMBLE_STUFF, "ChainRailGun",
     IDC_CHAIN_RAILGUN},
    {"samemap", SettingType::Boolean, "false", 0, 0, IDD_SERVER_OPTIONS, "Same Map", IDC_SAME_MAP},
    {"cheating", SettingType::Boolean, "false", 0, 0, IDD_SERVER_OPTIONS, "Cheating", IDC_CHEATING},
    {"noexit", SettingType::Boolean, "false", 0, 0, IDD_SERVER_OPTIONS, "No exit", IDC_NO_EXIT},
    {"Nfraglimit", SettingType::Integer, "0", 0, 1000, IDD_SERVER_OPTIONS,
     "Frag Limit:", IDC_FRAG_LIMIT},
    {"Ntimelimit", SettingType::Integer, "0", 0, 1000, IDD_SERVER_OPTIONS,
     "Time Limit:", IDC_TIME_LIMIT},
    {"isc", SettingType::Boolean, "true", 0, 0, IDD_SERVICES, "Inter-Server Chat (I.S.C.)",
     IDC_ISC},
    {"http", SettingType::Boolean, "true", 0, 0, IDD_SERVICES, "Web Server", IDC_HTTP},
    {"finger", SettingType::Boolean, "true", 0, 0, IDD_SERVICES, "Finger Service", IDC_FINGER},
    {"sender", SettingType::Boolean, "true", 0, 0, IDD_SERVICES, "Auto High Score Updater",
     IDC_SENDER},
    {"banning", SettingType::Boolean, "true", 0, 0, IDD_SERVICES, "Enable IP banning files?",
     IDC_BANNING},
    {"Nhttpport", SettingType::Integer, "80", 1, 64000, IDD_SERVICES, "Web Server port",
     IDC_HTTP_PORT},
    {"Nfingerport", SettingType::Integer, "79", 1, 64000, IDD_SERVICES, "Finger Service port",
     IDC_FINGER_PORT},
    {"ctf", SettingType::Boolean, "false", 0, 0, IDD_CTF, "C.T.F.", IDC_CTF},
    {"teamplay", SettingType::Boolean, "true", 0, 0, IDD_CTF, "Teamplay", IDC_TEAMPLAY},
};
} // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(std::string_view key) {
    for (const SettingKey& entry : kKeys) {
        if (EqualsIgnoringAsciiCase(entry.key, key))
            return &entry;
    }
    return nullptr;
}

const char* SettingTabCaption(int dialogId) {
    switch (dialogId) {
    case IDD_WEAPONS:
        return "Weapons";
    case IDD_GOMBLE_STUFF:
        return "Gomble Stuff";
    case IDD_SERVER_OPTIONS:
        return "Server Options";
    case IDD_SERVICES:
        return "Services";
    case IDD_CTF:
        return "C.T.F.";
    case IDD_ABOUT:
        return "About";
    default:
        return nullptr;
    }
}
