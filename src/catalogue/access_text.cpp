// SPDX-License-Identifier: MIT
#include "access_text.h"

namespace catalogue {

namespace {

char* PutUnit(unsigned unit, char* out)
{
    if (unit < 0x80) {
        *out++ = char(unit);
    } else if (unit < 0x800) {
        *out++ = char(0xC0 | (unit >> 6));
        *out++ = char(0x80 | (unit & 0x3F));
    } else if (unit >= 0xD800 && unit < 0xE000) {
        *out++ = '?';
    } else {
        *out++ = char(0xE0 | (unit >> 12));
        *out++ = char(0x80 | ((unit >> 6) & 0x3F));
        *out++ = char(0x80 | (unit & 0x3F));
    }
    return out;
}

} // namespace

size_t AccessTextToUtf8(const unsigned char* stored, size_t size, char* out)
{
    char* const start = out;
    const unsigned char* in = stored;
    const unsigned char* const end = stored + size;
    if (size >= 2 && in[0] == 0xFF && in[1] == 0xFE) {
        in += 2;
        bool oneByte = true;
        while (in < end) {
            if (*in == 0) {
                oneByte = !oneByte;
                ++in;
            } else if (oneByte) {
                out = PutUnit(*in++, out);
            } else if (end - in >= 2) {
                out = PutUnit(unsigned(in[0]) | unsigned(in[1]) << 8, out);
                in += 2;
            } else {
                break;
            }
        }
    } else {
        for (; end - in >= 2; in += 2)
            out = PutUnit(unsigned(in[0]) | unsigned(in[1]) << 8, out);
    }
    *out = '\0';
    return size_t(out - start);
}

} // namespace catalogue
