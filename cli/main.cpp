// gomcfgctl: the settings of the Gomcfg sheet from a terminal, with the sheet's own store and
// rules, for servers without a display.

#include "cli/Gomcfgctl.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunGomcfgctl(args, std::cout, std::cerr);
}
