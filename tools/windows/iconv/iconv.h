// SPDX-License-Identifier: MIT
/* A small iconv for Windows, over MultiByteToWideChar / WideCharToMultiByte.
 *
 * Debian ships no iconv for mingw-w64, and libmdb needs one to turn Access
 * text (UCS-2LE in Jet 4 files, the file's code page in Jet 3 files, e.g.
 * Big5 for Traditional Chinese Access 97 catalogues) into UTF-8.
 *
 * Encodings: UTF-8, UTF-16LE/BE, UCS-2LE/BE, UTF-32LE/BE (converted here)
 * and every single- or double-byte Windows code page (through Windows):
 * "CPnnnn", "WINDOWS-nnnn", "IBMnnn", plus the usual aliases (BIG5, BIG-5,
 * GBK, GB2312, SHIFT-JIS, EUC-KR, KOI8-R, ISO-8859-n, LATIN1, ASCII...).
 * Names are case-insensitive; '-' and '_' are ignored.
 *
 * Semantics follow POSIX: iconv_open() fails with EINVAL for an unknown
 * name; iconv() advances the buffers past what it converted and fails with
 * E2BIG (output full), EILSEQ (invalid or unconvertible input, *inbuf at it)
 * or EINVAL (incomplete sequence at the end of the input, *inbuf at it).
 * No conversion here is lossy, so a successful call returns 0.
 */
#ifndef TALVEX_ICONV_H
#define TALVEX_ICONV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *iconv_t;

iconv_t iconv_open(const char *tocode, const char *fromcode);
size_t iconv(iconv_t cd, char **inbuf, size_t *inbytesleft,
             char **outbuf, size_t *outbytesleft);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif
