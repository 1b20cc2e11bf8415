// zorbix-sim: plays a game headless from commands on standard input and prints one JSON
// object per line on standard output. Used by the tests and to reproduce a game exactly.

#include "tools/sim/SimDriver.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    TSimDriver driver(std::cout);
    std::string line;
    std::int32_t lineNumber = 0;
    while (std::getline(std::cin, line)) {
        driver.RunLine(line, ++lineNumber);
        std::cout.flush(); // a caller on a pipe sees each answer before sending more
    }
    return 0;
}
