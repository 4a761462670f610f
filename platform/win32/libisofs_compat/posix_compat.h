/* Included before every source file of libisofs in the MinGW build (-include): the POSIX types,
   file-type bits and calls that MinGW-w64 lacks.  The calls only serve libisofs's local-file source,
   which the tool does not use (it feeds files through its own streams), and fail the way POSIX does
   for a file system without links. */
#ifndef AUTORUN_POSIX_COMPAT_H
#define AUTORUN_POSIX_COMPAT_H

/* localtime_r and gmtime_r: MinGW declares them only for POSIX programs. */
#ifndef _POSIX_THREAD_SAFE_FUNCTIONS
#define _POSIX_THREAD_SAFE_FUNCTIONS 200112L
#endif

#include <sys/types.h>
#include <sys/stat.h>
#include <stddef.h>

typedef unsigned int uid_t;
typedef unsigned int gid_t;
typedef unsigned int nlink_t;

/* Linux's values, which Rock Ridge stores as they are. */
#ifndef S_IFLNK
#define S_IFLNK 0120000
#endif
#ifndef S_IFSOCK
#define S_IFSOCK 0140000
#endif
#ifndef S_ISLNK
#define S_ISLNK(mode) (((mode) & S_IFMT) == S_IFLNK)
#endif
#ifndef S_ISSOCK
#define S_ISSOCK(mode) (((mode) & S_IFMT) == S_IFSOCK)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Windows has no symbolic links that libisofs could store: lstat is stat, readlink fails with EINVAL.
   Functions, not macros: libisofs also calls members of its own structs by these names. */
int lstat(const char* path, struct stat* info);
ptrdiff_t readlink(const char* path, char* buffer, size_t size);

#ifdef __cplusplus
}
#endif

#endif
