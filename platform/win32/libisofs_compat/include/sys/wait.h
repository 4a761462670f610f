/* libisofs's external filters start programs with fork() and wait for them; the tool uses none, and
   this build has none (scripts/patches/libisofs); the header is all that remains of them. */
#ifndef AUTORUN_SYS_WAIT_H
#define AUTORUN_SYS_WAIT_H

#define WNOHANG 1
#define WIFEXITED(status) (((status) & 0x7f) == 0)
#define WEXITSTATUS(status) (((status) >> 8) & 0xff)
#define WIFSIGNALED(status) (((status) & 0x7f) != 0)
#define WTERMSIG(status) ((status) & 0x7f)

#endif
