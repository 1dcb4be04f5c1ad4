// SPDX-License-Identifier: MIT
#include "rtf/code_page.h"

#include <cerrno>
#include <iconv.h>
#include <string>

namespace rtf {

namespace {

constexpr char16_t Replacement = 0xFFFD;

std::string IconvName(int codePage)
{
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 1361: return "JOHAB";
    case 20932:
    case 51932: return "EUC-JP";
    case 51949: return "EUC-KR";
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

void AppendCodePoint(char32_t c, QString& out)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out.append(QChar(Replacement));
    } else if (c > 0xFFFF) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(static_cast<char16_t>(c)));
    }
}

enum class Outcome { Done, Incomplete, Invalid };

} // namespace

struct CodePageDecoder::Converter {
    iconv_t handle = reinterpret_cast<iconv_t>(-1);
    // Per single byte: a character, a lead byte, or invalid; filled on first use.
    enum class Kind : unsigned char { Unknown, Char, Lead, Invalid };
    std::array<Kind, 256> kind{};
    std::array<char16_t, 256> single{};

    ~Converter()
    {
        if (handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle);
    }

    Outcome convert(const unsigned char* bytes, std::size_t size, QString& out)
    {
        char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
        std::size_t inLeft = size;
        char32_t buffer[8];
        char* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        iconv(handle, nullptr, nullptr, nullptr, nullptr); // stateless from here on
        if (result == static_cast<std::size_t>(-1) && inLeft > 0)
            return error == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
        const std::size_t produced = (sizeof buffer - outLeft) / sizeof(char32_t);
        for (std::size_t i = 0; i < produced; ++i) {
            const auto* b = reinterpret_cast<const unsigned char*>(&buffer[i]);
            AppendCodePoint(char32_t(b[0]) | char32_t(b[1]) << 8 | char32_t(b[2]) << 16 | char32_t(b[3]) << 24, out);
        }
        return Outcome::Done;
    }

    Kind classify(unsigned char byte)
    {
        if (kind[byte] == Kind::Unknown) {
            QString out;
            switch (convert(&byte, 1, out)) {
            case Outcome::Done:
                kind[byte] = out.size() == 1 ? Kind::Char : Kind::Invalid;
                single[byte] = out.isEmpty() ? Replacement : out.at(0).unicode();
                break;
            case Outcome::Incomplete: kind[byte] = Kind::Lead; break;
            case Outcome::Invalid: kind[byte] = Kind::Invalid; break;
            }
        }
        return kind[byte];
    }
};

int CodePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;   // ANSI
    case 2: return 1252;   // symbol fonts: their glyphs sit at the Western positions
    case 77: return 10000; // Mac Roman
    case 78: return 932;
    case 79: return 949;
    case 80: return 936;
    case 81: return 950;
    case 128: return 932;  // Shift-JIS
    case 129: return 949;  // Hangul
    case 130: return 1361; // Johab
    case 134: return 936;  // GB2312
    case 136: return 950;  // Big5
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

CodePageDecoder::Converter& CodePageDecoder::converter(int codePage)
{
    auto found = converters_.find(codePage);
    if (found != converters_.end())
        return *found->second;
    auto conv = std::make_unique<Converter>();
    if (codePage > 0 && codePage <= 65535)
        conv->handle = iconv_open("UTF-32LE", IconvName(codePage).c_str());
    if (conv->handle == reinterpret_cast<iconv_t>(-1))
        conv->handle = iconv_open("UTF-32LE", "CP1252"); // unknown code pages read as Western
    if (conv->handle == reinterpret_cast<iconv_t>(-1))
        conv->handle = iconv_open("UTF-32LE", "ISO-8859-1");
    return *converters_.emplace(codePage, std::move(conv)).first->second;
}

void CodePageDecoder::feed(int codePage, unsigned char byte, QString& out)
{
    if (pendingSize_ > 0 && pendingCodePage_ != codePage)
        flush(out);
    Converter& conv = converter(codePage);
    if (conv.handle == reinterpret_cast<iconv_t>(-1)) {
        out.append(QChar(byte < 0x80 ? char16_t(byte) : Replacement));
        return;
    }
    if (pendingSize_ == 0) {
        feedFresh(conv, codePage, byte, out);
        return;
    }

    pending_[pendingSize_++] = byte;
    switch (conv.convert(pending_.data(), pendingSize_, out)) {
    case Outcome::Done:
        pendingSize_ = 0;
        return;
    case Outcome::Incomplete:
        if (pendingSize_ < static_cast<int>(pending_.size()))
            return;
        [[fallthrough]];
    case Outcome::Invalid: {
        // The lead byte was not followed by a valid sequence: replace it and
        // read the bytes after it afresh (an ASCII byte is most likely text).
        out.append(QChar(Replacement));
        const std::array<unsigned char, 4> rest = pending_;
        const int restSize = pendingSize_ - 1;
        pendingSize_ = 0;
        for (int i = 1; i <= restSize; ++i)
            feed(codePage, rest[i], out);
        return;
    }
    }
}

void CodePageDecoder::feedFresh(Converter& conv, int codePage, unsigned char byte, QString& out)
{
    if (byte < 0x80) {
        out.append(QChar(char16_t(byte)));
        return;
    }
    switch (conv.classify(byte)) {
    case Converter::Kind::Char: out.append(QChar(conv.single[byte])); break;
    case Converter::Kind::Lead:
        pending_[0] = byte;
        pendingSize_ = 1;
        pendingCodePage_ = codePage;
        break;
    default: out.append(QChar(Replacement)); break;
    }
}

void CodePageDecoder::flush(QString& out)
{
    if (pendingSize_ > 0)
        out.append(QChar(Replacement));
    pendingSize_ = 0;
}

} // namespace rtf
