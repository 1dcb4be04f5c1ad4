// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>
#include <map>
#include <memory>

namespace rtf {

constexpr int WesternCodePage = 1252;

// The Windows code page that a \fcharsetN font uses, or 0 when the font
// follows the document's code page.
int CodePageForCharset(int charset);

// Decodes the 8-bit text of an RTF file byte by byte through iconv. Lead
// bytes of multi-byte code pages are held until their trail bytes arrive, so
// a character may be split across \'hh escapes and literal bytes.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    // Appends to `out` whatever characters `byte` completes in `codePage`.
    void feed(int codePage, unsigned char byte, QString& out);

    // A sequence left unfinished becomes U+FFFD.
    void flush(QString& out);

    bool hasPending() const { return pendingSize_ > 0; }

private:
    struct Converter;
    Converter& converter(int codePage);
    void feedFresh(Converter& conv, int codePage, unsigned char byte, QString& out);

    std::map<int, std::unique_ptr<Converter>> converters_;
    std::array<unsigned char, 4> pending_{};
    int pendingSize_ = 0;
    int pendingCodePage_ = 0;
};

} // namespace rtf
