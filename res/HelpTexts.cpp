#include "res/HelpTexts.h"

const char* PageHelpText(int dialogId) {
    switch (dialogId) {
    case 105:
        return "Switch each weapon on or off and choose the weapon that stands in for it.";
    case 106:
        return "Switch the modification's features on or off. \"Edit Motd\" opens the message of "
               "the day, gomble_motd.txt, in a text editor; the preview shows its first 1024 "
               "bytes.";
    case 133:
        return "About this utility. The two buttons open gthome.url and gthelp.url from the "
               "current directory in the web browser.";
    case 134:
        return "Server rules. Frag Limit and Time Limit take whole numbers from 0 to 1000.";
    case 135:
        return "Network services and their ports (1 to 64000), and IP banning. The Edit buttons "
               "open allow.cfg and deny.cfg from the current directory in a text editor.";
    case 136:
        return "Capture the flag and teamplay modes.";
    default:
        return "";
    }
}
