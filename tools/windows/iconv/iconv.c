// SPDX-License-Identifier: MIT
/* A small iconv for Windows: see iconv.h for what it converts.
 *
 * Every conversion goes through UTF-16. The Unicode encodings are decoded
 * and encoded here; code pages through MultiByteToWideChar and
 * WideCharToMultiByte, a run of whole characters at a time (the code page's
 * lead-byte table says where a double-byte character ends, so no call sees
 * half a character). When a run does not convert cleanly, or its result does
 * not fit the output, the run is done again one character at a time to stop
 * exactly at the offending character.
 */
#include "iconv.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum kind {
    KIND_UTF8,
    KIND_UTF16LE,
    KIND_UTF16BE,
    KIND_UCS2LE,
    KIND_UCS2BE,
    KIND_UTF32LE,
    KIND_UTF32BE,
    KIND_CODE_PAGE
};

struct side {
    enum kind kind;
    UINT code_page;
    unsigned char lead[256]; /* 1 for the lead bytes of a double-byte code page */
};

struct converter {
    struct side from;
    struct side to;
};

/* Characters per run, and the UTF-16 units they may become. */
#define RUN_CHARS 256
#define RUN_UNITS (2 * RUN_CHARS)

/* ---- names ---------------------------------------------------------- */

struct alias {
    const char *name; /* upper case, without '-' and '_' */
    UINT code_page;
};

static const struct alias aliases[] = {
    {"BIG5", 950},
    {"CNBIG5", 950},
    {"GBK", 936},
    {"GB2312", 936},
    {"EUCCN", 936},
    {"SHIFTJIS", 932},
    {"SJIS", 932},
    {"MSKANJI", 932},
    {"EUCJP", 20932},
    {"EUCKR", 51949},
    {"UHC", 949},
    {"JOHAB", 1361},
    {"MACINTOSH", 10000},
    {"MAC", 10000},
    {"MACROMAN", 10000},
    {"KOI8R", 20866},
    {"KOI8U", 21866},
    {"LATIN1", 28591},
    {"ASCII", 20127},
    {"USASCII", 20127},
    {"ISO88591", 28591},
    {"ISO88592", 28592},
    {"ISO88593", 28593},
    {"ISO88594", 28594},
    {"ISO88595", 28595},
    {"ISO88596", 28596},
    {"ISO88597", 28597},
    {"ISO88598", 28598},
    {"ISO88599", 28599},
    {"ISO885913", 28603},
    {"ISO885915", 28605},
};

/* Upper-cases name into out without '-' and '_'. 0 when it does not fit or
 * holds something no encoding name has (e.g. "//TRANSLIT"). */
static int normalise(const char *name, char *out, size_t size)
{
    size_t n = 0;
    for (; *name; ++name) {
        char c = *name;
        if (c == '-' || c == '_')
            continue;
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return 0;
        if (n + 1 >= size)
            return 0;
        out[n++] = c;
    }
    out[n] = '\0';
    return n > 0;
}

/* The number after prefix in name, or 0. */
static UINT number_after(const char *name, const char *prefix)
{
    size_t len = strlen(prefix);
    unsigned long value = 0;
    const char *p;
    if (strncmp(name, prefix, len) != 0 || name[len] == '\0')
        return 0;
    for (p = name + len; *p; ++p) {
        if (*p < '0' || *p > '9' || value > 99999)
            return 0;
        value = value * 10 + (unsigned long)(*p - '0');
    }
    return (UINT)value;
}

static int set_code_page(struct side *side, UINT code_page)
{
    CPINFO info;
    int i;
    switch (code_page) {
    case 65001: side->kind = KIND_UTF8; return 1;
    case 1200: side->kind = KIND_UTF16LE; return 1;
    case 1201: side->kind = KIND_UTF16BE; return 1;
    case 12000: side->kind = KIND_UTF32LE; return 1;
    case 12001: side->kind = KIND_UTF32BE; return 1;
    case CP_SYMBOL:
    case 65000: /* UTF-7: stateful */
        return 0;
    default: break;
    }
    if (code_page == 0 || !IsValidCodePage(code_page) || !GetCPInfo(code_page, &info))
        return 0;
    /* Only code pages whose characters are one or two bytes long, with the
     * length known from the first byte: no stateful or four-byte ones. */
    if (info.MaxCharSize != 1 && info.MaxCharSize != 2)
        return 0;
    side->kind = KIND_CODE_PAGE;
    side->code_page = code_page;
    memset(side->lead, 0, sizeof side->lead);
    for (i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2) {
        unsigned b;
        for (b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b)
            side->lead[b] = 1;
    }
    return 1;
}

static int parse_name(const char *name, struct side *side)
{
    char n[32];
    UINT code_page;
    size_t i;
    if (!name || !normalise(name, n, sizeof n))
        return 0;
    if (!strcmp(n, "UTF8")) { side->kind = KIND_UTF8; return 1; }
    if (!strcmp(n, "UTF16LE")) { side->kind = KIND_UTF16LE; return 1; }
    if (!strcmp(n, "UTF16BE")) { side->kind = KIND_UTF16BE; return 1; }
    if (!strcmp(n, "UCS2LE")) { side->kind = KIND_UCS2LE; return 1; }
    if (!strcmp(n, "UCS2BE")) { side->kind = KIND_UCS2BE; return 1; }
    if (!strcmp(n, "UTF32LE") || !strcmp(n, "UCS4LE")) { side->kind = KIND_UTF32LE; return 1; }
    if (!strcmp(n, "UTF32BE") || !strcmp(n, "UCS4BE")) { side->kind = KIND_UTF32BE; return 1; }
    for (i = 0; i < sizeof aliases / sizeof aliases[0]; ++i)
        if (!strcmp(n, aliases[i].name))
            return set_code_page(side, aliases[i].code_page);
    code_page = number_after(n, "CP");
    if (!code_page)
        code_page = number_after(n, "WINDOWS");
    if (!code_page)
        code_page = number_after(n, "IBM");
    if (!code_page)
        code_page = number_after(n, "MS");
    return code_page ? set_code_page(side, code_page) : 0;
}

iconv_t iconv_open(const char *tocode, const char *fromcode)
{
    struct converter *cd = calloc(1, sizeof *cd);
    if (!cd) {
        errno = ENOMEM;
        return (iconv_t)-1;
    }
    if (!parse_name(fromcode, &cd->from) || !parse_name(tocode, &cd->to)) {
        free(cd);
        errno = EINVAL;
        return (iconv_t)-1;
    }
    return cd;
}

int iconv_close(iconv_t cd)
{
    if (cd == (iconv_t)-1 || cd == NULL) {
        errno = EBADF;
        return -1;
    }
    free(cd);
    return 0;
}

/* ---- one character ---------------------------------------------------- */

/* Results of the one-character steps: > 0 bytes used, else one of these. */
#define STEP_ILSEQ (-1)
#define STEP_INCOMPLETE (-2)

static unsigned get16(const unsigned char *p, int big)
{
    return big ? (unsigned)(p[0] << 8 | p[1]) : (unsigned)(p[1] << 8 | p[0]);
}

static unsigned long get32(const unsigned char *p, int big)
{
    if (big)
        return (unsigned long)p[0] << 24 | (unsigned long)p[1] << 16 | (unsigned long)p[2] << 8 | p[3];
    return (unsigned long)p[3] << 24 | (unsigned long)p[2] << 16 | (unsigned long)p[1] << 8 | p[0];
}

static int code_point_to_units(unsigned long c, WCHAR *w)
{
    if (c < 0x10000) {
        w[0] = (WCHAR)c;
        return 1;
    }
    c -= 0x10000;
    w[0] = (WCHAR)(0xD800 + (c >> 10));
    w[1] = (WCHAR)(0xDC00 + (c & 0x3FF));
    return 2;
}

static int is_high(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
static int is_low(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

static int decode_utf8(const unsigned char *in, size_t left, WCHAR *w, int *units)
{
    unsigned char b = in[0];
    unsigned char low = 0x80, high = 0xBF;
    unsigned long c;
    size_t need, i;
    if (b < 0x80) {
        *units = code_point_to_units(b, w);
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) { need = 2; c = b & 0x1F; }
    else if (b >= 0xE0 && b <= 0xEF) {
        need = 3; c = b & 0x0F;
        if (b == 0xE0) low = 0xA0;          /* no overlong forms */
        if (b == 0xED) high = 0x9F;         /* no surrogates */
    } else if (b >= 0xF0 && b <= 0xF4) {
        need = 4; c = b & 0x07;
        if (b == 0xF0) low = 0x90;          /* no overlong forms */
        if (b == 0xF4) high = 0x8F;         /* nothing past U+10FFFF */
    } else
        return STEP_ILSEQ;
    for (i = 1; i < need; ++i) {
        if (i >= left)
            return STEP_INCOMPLETE;
        if (in[i] < (i == 1 ? low : 0x80) || in[i] > (i == 1 ? high : 0xBF))
            return STEP_ILSEQ;
        c = c << 6 | (in[i] & 0x3F);
    }
    *units = code_point_to_units(c, w);
    return (int)need;
}

/* Decodes the first character of in. */
static int decode_one(const struct side *s, const unsigned char *in, size_t left,
                      WCHAR *w, int *units)
{
    int big = s->kind == KIND_UTF16BE || s->kind == KIND_UCS2BE || s->kind == KIND_UTF32BE;
    switch (s->kind) {
    case KIND_UTF8:
        return decode_utf8(in, left, w, units);
    case KIND_UTF16LE:
    case KIND_UTF16BE: {
        unsigned u, u2;
        if (left < 2)
            return STEP_INCOMPLETE;
        u = get16(in, big);
        if (is_low(u))
            return STEP_ILSEQ;
        if (!is_high(u)) {
            w[0] = (WCHAR)u;
            *units = 1;
            return 2;
        }
        if (left < 4)
            return STEP_INCOMPLETE;
        u2 = get16(in + 2, big);
        if (!is_low(u2))
            return STEP_ILSEQ;
        w[0] = (WCHAR)u;
        w[1] = (WCHAR)u2;
        *units = 2;
        return 4;
    }
    case KIND_UCS2LE:
    case KIND_UCS2BE: {
        unsigned u;
        if (left < 2)
            return STEP_INCOMPLETE;
        u = get16(in, big);
        if (is_high(u) || is_low(u))
            return STEP_ILSEQ;
        w[0] = (WCHAR)u;
        *units = 1;
        return 2;
    }
    case KIND_UTF32LE:
    case KIND_UTF32BE: {
        unsigned long c;
        if (left < 4)
            return STEP_INCOMPLETE;
        c = get32(in, big);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return STEP_ILSEQ;
        *units = code_point_to_units(c, w);
        return 4;
    }
    case KIND_CODE_PAGE: {
        int len = s->lead[in[0]] ? 2 : 1;
        int n;
        if ((size_t)len > left)
            return STEP_INCOMPLETE;
        n = MultiByteToWideChar(s->code_page, MB_ERR_INVALID_CHARS, (LPCCH)in, len, w, 2);
        if (n <= 0)
            return STEP_ILSEQ;
        *units = n;
        return len;
    }
    }
    return STEP_ILSEQ;
}

static void put16(unsigned char *p, unsigned u, int big)
{
    p[big ? 0 : 1] = (unsigned char)(u >> 8);
    p[big ? 1 : 0] = (unsigned char)u;
}

/* Encodes one character (one unit, or a surrogate pair) into buf, which
 * holds at least 8 bytes. Returns the byte count or STEP_ILSEQ. */
static int encode_one(const struct side *s, const WCHAR *w, int units, unsigned char *buf)
{
    int big = s->kind == KIND_UTF16BE || s->kind == KIND_UCS2BE || s->kind == KIND_UTF32BE;
    unsigned long c = units == 2 ? 0x10000 + (((unsigned long)w[0] - 0xD800) << 10) + (w[1] - 0xDC00)
                                 : w[0];
    switch (s->kind) {
    case KIND_UTF8:
        if (c < 0x80) { buf[0] = (unsigned char)c; return 1; }
        if (c < 0x800) {
            buf[0] = (unsigned char)(0xC0 | c >> 6);
            buf[1] = (unsigned char)(0x80 | (c & 0x3F));
            return 2;
        }
        if (c < 0x10000) {
            buf[0] = (unsigned char)(0xE0 | c >> 12);
            buf[1] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
            buf[2] = (unsigned char)(0x80 | (c & 0x3F));
            return 3;
        }
        buf[0] = (unsigned char)(0xF0 | c >> 18);
        buf[1] = (unsigned char)(0x80 | (c >> 12 & 0x3F));
        buf[2] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
        buf[3] = (unsigned char)(0x80 | (c & 0x3F));
        return 4;
    case KIND_UTF16LE:
    case KIND_UTF16BE:
        put16(buf, w[0], big);
        if (units == 2) {
            put16(buf + 2, w[1], big);
            return 4;
        }
        return 2;
    case KIND_UCS2LE:
    case KIND_UCS2BE:
        if (units == 2)
            return STEP_ILSEQ; /* outside the BMP */
        put16(buf, w[0], big);
        return 2;
    case KIND_UTF32LE:
    case KIND_UTF32BE:
        if (big) {
            buf[0] = (unsigned char)(c >> 24); buf[1] = (unsigned char)(c >> 16);
            buf[2] = (unsigned char)(c >> 8); buf[3] = (unsigned char)c;
        } else {
            buf[3] = (unsigned char)(c >> 24); buf[2] = (unsigned char)(c >> 16);
            buf[1] = (unsigned char)(c >> 8); buf[0] = (unsigned char)c;
        }
        return 4;
    case KIND_CODE_PAGE: {
        BOOL used_default = FALSE;
        int n = WideCharToMultiByte(s->code_page, WC_NO_BEST_FIT_CHARS, w, units,
                                    (LPSTR)buf, 8, NULL, &used_default);
        if (n <= 0 || used_default)
            return STEP_ILSEQ;
        return n;
    }
    }
    return STEP_ILSEQ;
}

/* ---- runs ---------------------------------------------------------------- */

/* Decodes a run of whole characters from the start of in into w. Returns
 * the bytes decoded and sets *units; stops before anything invalid or
 * incomplete. *span is the run's length in bytes, longer than what was
 * decoded when a code page refused some character in it. */
static size_t decode_run(const struct side *s, const unsigned char *in, size_t left,
                         WCHAR *w, int *units, size_t *span)
{
    size_t used = 0;
    int count = 0, chars = 0;
    if (s->kind == KIND_CODE_PAGE) {
        int n;
        while (used < left && chars < RUN_CHARS) {
            size_t len = s->lead[in[used]] ? 2 : 1;
            if (used + len > left)
                break;
            used += len;
            ++chars;
        }
        *span = used;
        if (!used)
            return 0;
        n = MultiByteToWideChar(s->code_page, MB_ERR_INVALID_CHARS, (LPCCH)in, (int)used,
                                w, RUN_UNITS);
        if (n <= 0)
            return 0;
        *units = n;
        return used;
    }
    while (used < left && count + 2 <= RUN_UNITS) {
        int u;
        int step = decode_one(s, in + used, left - used, w + count, &u);
        if (step <= 0)
            break;
        used += (size_t)step;
        count += u;
    }
    *units = count;
    *span = used;
    return used;
}

/* Encodes w into buf (of size cap). Returns the byte count, or -1 when some
 * character cannot be encoded. */
static long encode_run(const struct side *s, const WCHAR *w, int units,
                       unsigned char *buf, size_t cap)
{
    long total = 0;
    int i = 0;
    if (s->kind == KIND_CODE_PAGE) {
        BOOL used_default = FALSE;
        int n = WideCharToMultiByte(s->code_page, WC_NO_BEST_FIT_CHARS, w, units,
                                    (LPSTR)buf, (int)cap, NULL, &used_default);
        return n > 0 && !used_default ? n : -1;
    }
    while (i < units) {
        int pair = i + 1 < units && is_high(w[i]) && is_low(w[i + 1]);
        int n;
        if ((size_t)total + 8 > cap)
            return -1;
        n = encode_one(s, w + i, pair ? 2 : 1, buf + total);
        if (n < 0)
            return -1;
        total += n;
        i += pair ? 2 : 1;
    }
    return total;
}

static size_t fail(int error)
{
    errno = error;
    return (size_t)-1;
}

size_t iconv(iconv_t handle, char **inbuf, size_t *inbytesleft,
             char **outbuf, size_t *outbytesleft)
{
    struct converter *cd = handle;
    WCHAR w[RUN_UNITS];
    unsigned char out[4 * RUN_UNITS];

    if (cd == (iconv_t)-1 || cd == NULL)
        return fail(EBADF);
    /* No encoding here keeps a shift state: a reset writes nothing. */
    if (inbuf == NULL || *inbuf == NULL)
        return 0;
    if (!inbytesleft || !outbuf || !*outbuf || !outbytesleft)
        return fail(EINVAL);

    while (*inbytesleft > 0) {
        const unsigned char *in = (const unsigned char *)*inbuf;
        int units = 0;
        size_t span = 0;
        size_t taken = decode_run(&cd->from, in, *inbytesleft, w, &units, &span);

        if (taken > 0) {
            long made = encode_run(&cd->to, w, units, out, sizeof out);
            if (made >= 0 && (size_t)made <= *outbytesleft) {
                memcpy(*outbuf, out, (size_t)made);
                *outbuf += made;
                *outbytesleft -= (size_t)made;
                *inbuf += taken;
                *inbytesleft -= taken;
                continue;
            }
        }

        /* Careful path, one character at a time: through the run that did
         * not convert or fit, or just the first character when no run could
         * start there (which then ends in an error). */
        if (span == 0)
            span = 1;
        while (span > 0 && *inbytesleft > 0) {
            WCHAR one[2];
            unsigned char bytes[8];
            int n, made;
            int step = decode_one(&cd->from, (const unsigned char *)*inbuf, *inbytesleft, one, &n);
            if (step == STEP_INCOMPLETE)
                return fail(EINVAL);
            if (step < 0)
                return fail(EILSEQ);
            made = encode_one(&cd->to, one, n, bytes);
            if (made < 0)
                return fail(EILSEQ);
            if ((size_t)made > *outbytesleft)
                return fail(E2BIG);
            memcpy(*outbuf, bytes, (size_t)made);
            *outbuf += made;
            *outbytesleft -= (size_t)made;
            *inbuf += step;
            *inbytesleft -= (size_t)step;
            span = (size_t)step >= span ? 0 : span - (size_t)step;
        }
    }
    return 0;
}
