// zorbix-sim: plays a game headless from commands on standard input and prints one JSON
// object per line on standard output. Used by the tests and to reproduce a game exactly;
// `zorbix-sim --verify FILE` checks a kept game instead.

#include "tools/sim/ReplayVerify.h"
#include "tools/sim/SimDriver.h"

#include <iostream>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc == 3 && std::string_view(argv[1]) == "--verify") {
        return VerifyReplay(argv[2], std::cout);
    }
    if (argc != 1) {
        std::cerr << "usage: zorbix-sim < COMMANDS\n       zorbix-sim --verify REPLAY\n";
        return 2;
    }
    TSimDriver driver(std::cout);
    std::string line;
    std::int32_t lineNumber = 0;
    while (std::getline(std::cin, line)) {
        driver.RunLine(line, ++lineNumber);
        std::cout.flush(); // a caller on a pipe sees each answer before sending more
    }
    return 0;
}
