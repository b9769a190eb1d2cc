#pragma once

// The dialog templates and the controls on them, by name. IDs are per template, so the same
// number can name different controls on different pages. No Qt, like the rest of the templates,
// so front ends without the sheet can name what it shows.

// Templates.
inline constexpr int IDD_WEAPONS = 105;
inline constexpr int IDD_GOMBLE_STUFF = 106;
inline constexpr int IDD_ABOUT = 133;
inline constexpr int IDD_SERVER_OPTIONS = 134;
inline constexpr int IDD_SERVICES = 135;
inline constexpr int IDD_CTF = 136;

// Weapons (105): each weapon's enabled box and its substitute list.
inline constexpr int IDC_SHOTGUN = 1000;
inline constexpr int IDC_SHOTGUN_LIST = 1018;
inline constexpr int IDC_SUPERSHOTGUN = 1012;
inline constexpr int IDC_SUPERSHOTGUN_LIST = 1002;
inline constexpr int IDC_MACHINEGUN = 1013;
inline constexpr int IDC_MACHINEGUN_LIST = 1019;
inline constexpr int IDC_CHAINGUN = 1011;
inline constexpr int IDC_CHAINGUN_LIST = 1020;
inline constexpr int IDC_GRENADES = 1010;
inline constexpr int IDC_GRENADES_LIST = 1022;
inline constexpr int IDC_ROCKETS = 1009;
inline constexpr int IDC_ROCKETS_LIST = 1024;
inline constexpr int IDC_HYPERBLASTER = 1003;
inline constexpr int IDC_HYPERBLASTER_LIST = 1023;
inline constexpr int IDC_RAILGUN = 1015;
inline constexpr int IDC_RAILGUN_LIST = 1025;
inline constexpr int IDC_BFG = 1017;
inline constexpr int IDC_BFG_LIST = 1021;

// Gomble Stuff (106).
inline constexpr int IDC_MOTD_ENABLED = 1018;
inline constexpr int IDC_GRAPPLE = 1029;
inline constexpr int IDC_CHOKER = 1031;
inline constexpr int IDC_CHAIN_RAILGUN = 1030;
inline constexpr int IDC_EDIT_MOTD = 1022;
inline constexpr int IDC_MOTD_PREVIEW = 1021;
inline constexpr int IDC_DISTORTION_FIELD = 1032; // placeholders from here
inline constexpr int IDC_ION_BLASTER = 1033;
inline constexpr int IDC_LAZER_GUIDED = 1034;
inline constexpr int IDC_BAG = 1035;

// About (133).
inline constexpr int IDC_GOTO_HOME_PAGE = 1029;
inline constexpr int IDC_HELP_FILES = 1069;

// Server Options (134).
inline constexpr int IDC_NO_EXIT = 1036;
inline constexpr int IDC_CHEATING = 1038;
inline constexpr int IDC_SAME_MAP = 1041;
inline constexpr int IDC_FRAG_LIMIT = 1043;
inline constexpr int IDC_TIME_LIMIT = 1044;
inline constexpr int IDC_BREAKABLE_ITEMS = 1037; // placeholders from here
inline constexpr int IDC_DEATH_MESSAGES = 1039;
inline constexpr int IDC_SHOW_HIGHS = 1040;
inline constexpr int IDC_SERVER_MORE_1 = 1045; // the eight "more later..." boxes
inline constexpr int IDC_SERVER_MORE_2 = 1046;
inline constexpr int IDC_SERVER_MORE_3 = 1047;
inline constexpr int IDC_SERVER_MORE_4 = 1048;
inline constexpr int IDC_SERVER_MORE_5 = 1049;
inline constexpr int IDC_SERVER_MORE_6 = 1050;
inline constexpr int IDC_SERVER_MORE_7 = 1051;
inline constexpr int IDC_SERVER_MORE_8 = 1052;

// Services (135).
inline constexpr int IDC_ISC = 1046;
inline constexpr int IDC_HTTP = 1047;
inline constexpr int IDC_HTTP_PORT = 1050;
inline constexpr int IDC_FINGER = 1048;
inline constexpr int IDC_FINGER_PORT = 1051;
inline constexpr int IDC_SENDER = 1052;
inline constexpr int IDC_BANNING = 1049;
inline constexpr int IDC_EDIT_ALLOW_FILE = 1053;
inline constexpr int IDC_EDIT_DENY_FILE = 1054;

// C.T.F. (136).
inline constexpr int IDC_CTF = 1055;
inline constexpr int IDC_TEAMPLAY = 1068;
inline constexpr int IDC_QUICKFIRE = 1057; // placeholders from here
inline constexpr int IDC_SHARE_THE_DAMAGE = 1058;
inline constexpr int IDC_GRAV_DISTORTION = 1059;
inline constexpr int IDC_HEAL_O_MATIC = 1060;
inline constexpr int IDC_EXTRA_POWER = 1061;
inline constexpr int IDC_CTF_MORE_1 = 1045; // the two "more later..." boxes
inline constexpr int IDC_CTF_MORE_2 = 1047;
inline constexpr int IDC_RUNE_LIST_1 = 1062;
inline constexpr int IDC_RUNE_LIST_2 = 1063;
inline constexpr int IDC_RUNE_LIST_3 = 1064;
inline constexpr int IDC_RUNE_LIST_4 = 1065;
inline constexpr int IDC_RUNE_LIST_5 = 1066;
inline constexpr int IDC_RUNE_LIST_6 = 1067;
