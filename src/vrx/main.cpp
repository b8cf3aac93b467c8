#include <iostream>
#include <string>
#include <vector>

#include "vrx/interrupt.h"
#include "vrx/key_prompt.h"
#include "vrx/vrx_tool.h"

int main(int argc, char** argv) {
    vimbrel::vrx::InstallInterruptHandlers();
    std::vector<std::string> args(argv + 1, argv + argc);
    return vimbrel::vrx::Run(args, vimbrel::vrx::ReadKeyFromTerminal, std::cin, std::cout, std::cerr);
}
