// MinGW's std::random_device draws from rand_s, the system's generator.
#include <random>

#include "random_number.h"

namespace autorun {

std::uint32_t RandomNumber() {
    return std::random_device{}();
}

}  // namespace autorun
