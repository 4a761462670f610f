// Owners of posix_spawn's attribute and file-action objects, which must be destroyed as they were
// initialised.
#pragma once

#include <spawn.h>

namespace autorun {

template <typename Object, int (*Init)(Object*), int (*Destroy)(Object*)>
class SpawnObject {
   public:
    SpawnObject() { Init(&object_); }
    ~SpawnObject() { Destroy(&object_); }
    SpawnObject(const SpawnObject&) = delete;
    SpawnObject& operator=(const SpawnObject&) = delete;
    Object* get() { return &object_; }

   private:
    Object object_;
};

using SpawnAttributes = SpawnObject<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;
using SpawnFileActions =
    SpawnObject<posix_spawn_file_actions_t, posix_spawn_file_actions_init, posix_spawn_file_actions_destroy>;

}  // namespace autorun
