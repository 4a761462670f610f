/* nl_langinfo(CODESET) for libisofs in the MinGW build: the tool sets libisofs's local character set
   to UTF-8 itself, and names reach libisofs as UTF-8. */
#ifndef AUTORUN_LANGINFO_H
#define AUTORUN_LANGINFO_H

#define CODESET 14
typedef int nl_item;

#ifdef __cplusplus
extern "C" {
#endif
char* autorun_nl_langinfo(nl_item item);
#define nl_langinfo(item) autorun_nl_langinfo(item)
#ifdef __cplusplus
}
#endif

#endif
