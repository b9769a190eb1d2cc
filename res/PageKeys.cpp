#include "res/PageKeys.h"

#include "res/ControlIds.h"

namespace {
constexpr PageKey kWeaponsKeys[] = {
    {"shotgun", IDC_SHOTGUN},
    {"shotgunT", IDC_SHOTGUN_LIST},
    {"supershotgun", IDC_SUPERSHOTGUN},
    {"supershotgunT", IDC_SUPERSHOTGUN_LIST},
    {"machinegun", IDC_MACHINEGUN},
    {"machinegunT", IDC_MACHINEGUN_LIST},
    {"chaingun", IDC_CHAINGUN},
    {"chaingunT", IDC_CHAINGUN_LIST},
    {"grenades", IDC_GRENADES},
    {"grenadesT", IDC_GRENADES_LIST},
    {"rockets", IDC_ROCKETS},
    {"rocketsT", IDC_ROCKETS_LIST},
    {"hyperblaster", IDC_HYPERBLASTER},
    {"hyperblasterT", IDC_HYPERBLASTER_LIST},
    {"railgun", IDC_RAILGUN},
    {"railgunT", IDC_RAILGUN_LIST},
    {"bfg", IDC_BFG},
    {"bfgT", IDC_BFG_LIST},
};

constexpr PageKey kGombleKeys[] = {
    {"show_motd", IDC_MOTD_ENABLED},
    {"grapple", IDC_GRAPPLE},
    {"choker", IDC_CHOKER},
    {"chainrailgun", IDC_CHAIN_RAILGUN},
};

constexpr PageKey kServerKeys[] = {
    {"samemap", IDC_SAME_MAP},      {"cheating", IDC_CHEATING},     {"noexit", IDC_NO_EXIT},
    {"Nfraglimit", IDC_FRAG_LIMIT}, {"Ntimelimit", IDC_TIME_LIMIT},
};

// The finger port is written before the web server's.
constexpr PageKey kServicesKeys[] = {
    {"isc", IDC_ISC},
    {"http", IDC_HTTP},
    {"finger", IDC_FINGER},
    {"sender", IDC_SENDER},
    {"banning", IDC_BANNING},
    {"Nfingerport", IDC_FINGER_PORT},
    {"Nhttpport", IDC_HTTP_PORT},
};

constexpr PageKey kCtfKeys[] = {
    {"ctf", IDC_CTF},
    {"teamplay", IDC_TEAMPLAY},
};
} // namespace

std::span<const PageKey> PageKeys(int dialogId) {
    switch (dialogId) {
    case IDD_WEAPONS:
        return kWeaponsKeys;
    case IDD_GOMBLE_STUFF:
        return kGombleKeys;
    case IDD_SERVER_OPTIONS:
        return kServerKeys;
    case IDD_SERVICES:
        return kServicesKeys;
    case IDD_CTF:
        return kCtfKeys;
    default:
        return {};
    }
}
