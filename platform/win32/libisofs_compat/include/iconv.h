/* iconv for libisofs in the MinGW build (Debian has no MinGW iconv): the conversions libisofs makes
   between UTF-8, ASCII, UCS-2BE, UTF-16BE and WCHAR_T (UTF-16 in this build), with POSIX iconv's
   contract: EILSEQ at the first character the target lacks or the source has wrong, EINVAL at an
   incomplete one at the end, E2BIG when the output is full; the pointers always stop at the last
   character converted whole. */
#ifndef AUTORUN_ICONV_H
#define AUTORUN_ICONV_H

#include <stddef.h>

typedef struct autorun_iconv_state* iconv_t;

#ifdef __cplusplus
extern "C" {
#endif
iconv_t autorun_iconv_open(const char* tocode, const char* fromcode);
size_t autorun_iconv(iconv_t conversion, const char** in, size_t* inLeft, char** out, size_t* outLeft);
int autorun_iconv_close(iconv_t conversion);
#define iconv_open(to, from) autorun_iconv_open((to), (from))
#define iconv(c, in, inLeft, out, outLeft) autorun_iconv((c), (in), (inLeft), (out), (outLeft))
#define iconv_close(c) autorun_iconv_close(c)
#ifdef __cplusplus
}
#endif

#endif
