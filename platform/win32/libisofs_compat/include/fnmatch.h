/* Shell wildcards for libisofs's exclusion patterns and tree searches in the MinGW build. */
#ifndef AUTORUN_FNMATCH_H
#define AUTORUN_FNMATCH_H

#define FNM_NOMATCH 1
#define FNM_NOESCAPE 0x01
#define FNM_PATHNAME 0x02
#define FNM_PERIOD 0x04

#ifdef __cplusplus
extern "C" {
#endif
/* 0 when `text` matches `pattern` (*, ?, [...] with ! or ^ and ranges, \ escapes), else FNM_NOMATCH. */
int autorun_fnmatch(const char* pattern, const char* text, int flags);
#define fnmatch(pattern, text, flags) autorun_fnmatch((pattern), (text), (flags))
#ifdef __cplusplus
}
#endif

#endif
