// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a request line and as a reply line of the
// stand-in CAD host's protocol, as the host and its client read them. What
// parses must format back to a line that parses to the same thing, and
// escaping must read back to the text it came from.
#include "generation/standin/standin_protocol.h"

#include <cstddef>
#include <cstdint>

using namespace generation::standin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    if (const std::optional<Request> request = ParseRequest(line)) {
        const std::optional<Request> again = ParseRequest(FormatRequest(*request));
        if (!again || again->kind != request->kind || again->flag != request->flag
            || again->document != request->document || again->text != request->text)
            __builtin_trap();
        if (JournalLine(*request).contains(QLatin1Char('\n')))
            __builtin_trap();  // one journal line per call
    }

    if (const std::optional<Reply> reply = ParseReply(line)) {
        const std::optional<Reply> again = ParseReply(FormatReply(*reply));
        if (!again || again->ok != reply->ok || again->busy != reply->busy
            || again->value != reply->value)
            __builtin_trap();
    }

    const QString text = QString::fromUtf8(line);
    const std::optional<QString> plain = Unescape(Escape(text));
    if (!plain || *plain != text)
        __builtin_trap();
    return 0;
}
