// SPDX-License-Identifier: MIT
#include "big5.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace demo {

#ifdef _WIN32

std::optional<QByteArray> EncodeCp950(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr,
                                         0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    QByteArray output(size, '\0');
    WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), output.data(), size,
                        nullptr, &usedDefault);
    return output;
}

#else

std::optional<QByteArray> EncodeCp950(const QString& text)
{
    iconv_t converter = iconv_open("CP950", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        converter = iconv_open("BIG5", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;

    QByteArray input = text.toUtf8();
    QByteArray output(input.size() * 2 + 8, '\0');
    char* in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = output.data();
    size_t outLeft = static_cast<size_t>(output.size());
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.truncate(output.size() - static_cast<qsizetype>(outLeft));
    return output;
}

#endif

} // namespace demo
