#include <iostream>

#include "bin2dat.h"

int main(int argc, char** argv) {
    return bin2dat::RunBin2dat(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
