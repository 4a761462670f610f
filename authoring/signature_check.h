// What a disc's check says about the launcher's signature: who signed it, whether the signature still
// covers its bytes, and what an unsigned launcher in a downloaded image meets.
#pragma once

#include <string>
#include <vector>

#include "disc_check.h"
#include "little_endian.h"

namespace authoring {

// `name` is the launcher's path on the disc; `folder` is true for a folder (a USB stick).  A signature
// that does not hold is a warning: Windows still starts the launcher where it starts unsigned ones.
void CheckLauncherSignature(const Bytes& launcher, const std::string& name, bool folder,
                            std::vector<Finding>& findings);

}  // namespace authoring
