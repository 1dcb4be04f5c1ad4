// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>

namespace catalogue {

// The most bytes of UTF-8 that AccessTextToUtf8 writes for size stored bytes.
constexpr size_t Utf8RoomFor(size_t size) { return size * 3 + 1; }

// Text as Access 2000 and later store it (UCS-2, little-endian, or its
// "compressed" form: 0xFF 0xFE, then runs of one-byte Latin-1 characters and
// two-byte units, a zero byte switching between them) written as UTF-8 into
// out, which holds at least Utf8RoomFor(size) bytes. Returns the length
// written; out is also terminated by a zero byte.
// It writes what libmdb's conversion through iconv writes, without iconv's
// cost per call: a unit that UCS-2 cannot hold (a surrogate) becomes '?', an
// odd last byte is dropped and a zero unit stays a zero byte.
size_t AccessTextToUtf8(const unsigned char* stored, size_t size, char* out);

} // namespace catalogue
