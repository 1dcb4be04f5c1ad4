// SPDX-License-Identifier: MIT
/* Checks of our Windows iconv, run under Wine by tools/build-windows-deps.
 * Prints one line per failed check and "N passed, N failed" at the end;
 * exits non-zero when any check failed. */
#include "iconv.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

static int passed, failed;

static void check(int ok, const char *what, int line)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        printf("FAIL line %d: %s\n", line, what);
    }
}
#define CHECK(cond) check((cond), #cond, __LINE__)

struct result {
    size_t ret;
    int error;
    size_t in_used;
    size_t out_len;
    char out[4096];
};

/* Converts in (of length len) with an output buffer of out_size bytes. */
static struct result convert(const char *to, const char *from, const char *in, size_t len,
                             size_t out_size)
{
    struct result r;
    iconv_t cd = iconv_open(to, from);
    char *ip = (char *)in, *op = r.out;
    size_t il = len, ol = out_size;
    memset(&r, 0, sizeof r);
    if (cd == (iconv_t)-1) {
        r.ret = (size_t)-2;
        return r;
    }
    errno = 0;
    r.ret = iconv(cd, &ip, &il, &op, &ol);
    r.error = r.ret == (size_t)-1 ? errno : 0;
    r.in_used = (size_t)(ip - in);
    r.out_len = (size_t)(op - r.out);
    /* The pointers and the counts must move together. */
    check(il == len - r.in_used, "inbytesleft follows inbuf", __LINE__);
    check(ol == out_size - r.out_len, "outbytesleft follows outbuf", __LINE__);
    iconv_close(cd);
    return r;
}

static int same(const struct result *r, const char *bytes, size_t len)
{
    return r->out_len == len && memcmp(r->out, bytes, len) == 0;
}

/* "氣壓缸" (pneumatic cylinder) in the encodings the catalogues use. */
static const char utf8[] = "\xe6\xb0\xa3\xe5\xa3\x93\xe7\xbc\xb8";
static const char big5[] = "\xae\xf0\xc0\xa3\xac\xfb";
static const char gbk[] = "\x9a\xe2\x89\xba\xb8\xd7";
static const char ucs2[] = "\x23\x6c\xd3\x58\x38\x7f";

int main(void)
{
    struct result r;
    char big[3 * 1000 + 1];
    char big_big5[2 * 1000 + 1];
    int i;

    /* Unknown names. */
    errno = 0;
    CHECK(iconv_open("UTF-8", "NO-SUCH-CHARSET") == (iconv_t)-1 && errno == EINVAL);
    errno = 0;
    CHECK(iconv_open("CP99999", "UTF-8") == (iconv_t)-1 && errno == EINVAL);
    errno = 0;
    CHECK(iconv_open("UTF-8//TRANSLIT", "UTF-8") == (iconv_t)-1 && errno == EINVAL);
    errno = 0;
    CHECK(iconv_close((iconv_t)-1) == -1 && errno == EBADF);

    /* The names libmdb builds, and common spellings. */
    {
        static const char *names[] = {"UTF-8", "utf8", "UCS-2LE", "UTF-16LE", "UTF-16BE", "UTF-32LE",
                                      "CP950", "cp936", "BIG-5", "BIG5", "GBK", "WINDOWS-936",
                                      "WINDOWS-1252", "CP1252", "MACINTOSH", "IBM437", "IBM850", "SHIFT-JIS",
                                      "ISO-8859-1", "ISO-8859-15", "KOI8-R", "ASCII"};
        for (i = 0; i < (int)(sizeof names / sizeof names[0]); ++i) {
            iconv_t cd = iconv_open("UTF-8", names[i]);
            check(cd != (iconv_t)-1, names[i], __LINE__);
            if (cd != (iconv_t)-1)
                iconv_close(cd);
        }
    }

    /* Plain conversions, both ways. */
    r = convert("UTF-8", "UCS-2LE", ucs2, 6, 64);
    CHECK(r.ret == 0 && same(&r, utf8, 9));
    r = convert("UCS-2LE", "UTF-8", utf8, 9, 64);
    CHECK(r.ret == 0 && same(&r, ucs2, 6));
    r = convert("UTF-8", "CP950", big5, 6, 64);
    CHECK(r.ret == 0 && same(&r, utf8, 9));
    r = convert("UTF-8", "BIG-5", big5, 6, 64);
    CHECK(r.ret == 0 && same(&r, utf8, 9));
    r = convert("CP950", "UTF-8", utf8, 9, 64);
    CHECK(r.ret == 0 && same(&r, big5, 6));
    r = convert("UTF-8", "GBK", gbk, 6, 64);
    CHECK(r.ret == 0 && same(&r, utf8, 9));
    r = convert("WINDOWS-936", "UTF-8", utf8, 9, 64);
    CHECK(r.ret == 0 && same(&r, gbk, 6));
    r = convert("UTF-8", "CP1252", "caf\xe9 \x80", 6, 64);
    CHECK(r.ret == 0 && same(&r, "caf\xc3\xa9 \xe2\x82\xac", 9));
    r = convert("UTF-8", "UTF-16BE", "\x6c\x23", 2, 64);
    CHECK(r.ret == 0 && same(&r, "\xe6\xb0\xa3", 3));

    /* Outside the BMP: a surrogate pair in UTF-16, nothing in UCS-2. */
    r = convert("UTF-16LE", "UTF-8", "\xf0\x9f\x98\x80", 4, 64);
    CHECK(r.ret == 0 && same(&r, "\x3d\xd8\x00\xde", 4));
    r = convert("UTF-8", "UTF-16LE", "\x3d\xd8\x00\xde", 4, 64);
    CHECK(r.ret == 0 && same(&r, "\xf0\x9f\x98\x80", 4));
    r = convert("UCS-2LE", "UTF-8", "a\xf0\x9f\x98\x80", 5, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 1 && same(&r, "a\0", 2));
    r = convert("UTF-8", "UCS-2LE", "a\0\x3d\xd8\x00\xde", 6, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 2 && same(&r, "a", 1));

    /* Output full: stops after the last whole character that fits. */
    r = convert("UTF-8", "CP950", big5, 6, 7);
    CHECK(r.ret == (size_t)-1 && r.error == E2BIG && r.in_used == 4 && same(&r, utf8, 6));
    r = convert("CP950", "UTF-8", utf8, 9, 5);
    CHECK(r.ret == (size_t)-1 && r.error == E2BIG && r.in_used == 6 && same(&r, big5, 4));
    r = convert("UCS-2LE", "UTF-8", utf8, 9, 1);
    CHECK(r.ret == (size_t)-1 && r.error == E2BIG && r.in_used == 0 && r.out_len == 0);

    /* Invalid input: stops at it. */
    r = convert("UTF-16LE", "UTF-8", "ab\xff" "cd", 5, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 2 && same(&r, "a\0b\0", 4));
    r = convert("UTF-16LE", "UTF-8", "a\xc0\xaf", 3, 64); /* overlong '/' */
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 1);
    r = convert("UTF-16LE", "UTF-8", "a\xed\xa0\x80", 4, 64); /* encoded surrogate */
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 1);
    r = convert("UTF-8", "UTF-16LE", "a\0\x00\xdc", 4, 64); /* lone low surrogate */
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 2 && same(&r, "a", 1));
    r = convert("UTF-8", "CP950", "\xae\xf0\xae\x20", 4, 64); /* bad trail byte */
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 2 && same(&r, utf8, 3));
    /* Not in Big5: no "best fit" to a look-alike. */
    r = convert("CP950", "UTF-8", "\xe6\xb0\xa3\xc3\xa9", 5, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 3 && same(&r, big5, 2));

    /* Incomplete input at the end: EINVAL, stops before it. */
    r = convert("UTF-16LE", "UTF-8", "a\xe6\xb0", 3, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EINVAL && r.in_used == 1 && same(&r, "a\0", 2));
    r = convert("UTF-8", "CP950", "\xae\xf0\xc0", 3, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EINVAL && r.in_used == 2 && same(&r, utf8, 3));
    r = convert("UTF-8", "UCS-2LE", "a\0b", 3, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EINVAL && r.in_used == 2 && same(&r, "a", 1));
    r = convert("UTF-8", "UTF-16LE", "a\0\x3d\xd8", 4, 64);
    CHECK(r.ret == (size_t)-1 && r.error == EINVAL && r.in_used == 2 && same(&r, "a", 1));

    /* An incomplete sequence completed by the next call. */
    {
        iconv_t cd = iconv_open("UTF-8", "CP950");
        char buf[16], *op = buf, *ip = (char *)big5;
        size_t il = 3, ol = sizeof buf;
        CHECK(iconv(cd, &ip, &il, &op, &ol) == (size_t)-1 && errno == EINVAL && il == 1);
        il += 3;
        CHECK(iconv(cd, &ip, &il, &op, &ol) == 0 && il == 0 && op - buf == 9 &&
              memcmp(buf, utf8, 9) == 0);
        /* A NULL inbuf resets and writes nothing. */
        CHECK(iconv(cd, NULL, NULL, &op, &ol) == 0 && op - buf == 9);
        CHECK(iconv(cd, NULL, NULL, NULL, NULL) == 0);
        CHECK(iconv_close(cd) == 0);
    }

    /* Long input: runs of many characters, and a cut through the middle of
     * a long text at the output limit. */
    for (i = 0; i < 1000; ++i) {
        memcpy(big + 3 * i, utf8 + 3 * (i % 3), 3);
        memcpy(big_big5 + 2 * i, big5 + 2 * (i % 3), 2);
    }
    r = convert("UTF-8", "BIG5", big_big5, 2000, sizeof r.out);
    CHECK(r.ret == 0 && same(&r, big, 3000));
    r = convert("BIG5", "UTF-8", big, 3000, sizeof r.out);
    CHECK(r.ret == 0 && same(&r, big_big5, 2000));
    r = convert("UTF-8", "BIG5", big_big5, 2000, 1000);
    CHECK(r.ret == (size_t)-1 && r.error == E2BIG && r.in_used == 666 && same(&r, big, 999));
    big_big5[1501] = '\x7f'; /* not a Big5 trail byte, in the middle of a run */
    r = convert("UTF-8", "BIG5", big_big5, 2000, sizeof r.out);
    CHECK(r.ret == (size_t)-1 && r.error == EILSEQ && r.in_used == 1500 && same(&r, big, 2250));

    printf("iconv: %d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
