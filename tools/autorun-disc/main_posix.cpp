#include <iostream>

#include "autorun_disc.h"

int main(int argc, char** argv) {
    return autorun_disc::RunAutorunDisc(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                        std::cerr);
}
