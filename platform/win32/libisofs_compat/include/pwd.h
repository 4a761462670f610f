/* No user database on Windows: libisofs then writes and reads numeric owners. */
#ifndef AUTORUN_PWD_H
#define AUTORUN_PWD_H

#include <stddef.h>
#include <sys/types.h>

struct passwd {
    char* pw_name;
    uid_t pw_uid;
};

#define getpwuid(uid) ((void)(uid), (struct passwd*)NULL)
#define getpwnam(name) ((void)(name), (struct passwd*)NULL)

#endif
