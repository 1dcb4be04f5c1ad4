// SPDX-License-Identifier: MIT
#include "options.h"

#include <windows.h>

#include <cwchar>

namespace fake_autocad {

const wchar_t kUsage[] =
    L"usage: fake_autocad /regserver [server options]   register as AutoCAD.Application\n"
    L"       fake_autocad /unregserver\n"
    L"       fake_autocad /run [server options]         a running instance, until /stop\n"
    L"       fake_autocad /stop                         end every instance\n"
    L"server options: /journal FILE  /busy N  /busy-after N  /busy-answer retry-later|rejected\n"
    L"                /busy-seconds N  /busy-after-open N  /never-ready  /start-delay N  /hold-drawings\n";

namespace {

bool Is(const std::wstring& argument, const wchar_t* name)
{
    return CompareStringOrdinal(argument.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

bool Count(const std::wstring& text, int& value)
{
    if (text.empty() || text.size() > 6)
        return false;
    value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
    }
    return true;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

} // namespace

ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments)
{
    ParsedOptions parsed;
    Options& options = parsed.options;
    bool modeGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        Mode mode{};
        bool isMode = true;
        if (Is(argument, L"/regserver") || Is(argument, L"-regserver"))
            mode = Mode::Register;
        else if (Is(argument, L"/unregserver") || Is(argument, L"-unregserver"))
            mode = Mode::Unregister;
        else if (Is(argument, L"/run"))
            mode = Mode::Run;
        else if (Is(argument, L"/stop"))
            mode = Mode::Stop;
        else if (Is(argument, L"-Embedding") || Is(argument, L"/Embedding"))
            mode = Mode::Embedding;
        else
            isMode = false;
        if (isMode) {
            if (modeGiven) {
                parsed.error = L"more than one of /regserver /unregserver /run /stop -Embedding";
                return parsed;
            }
            options.mode = mode;
            modeGiven = true;
        } else if (Is(argument, L"/journal") && hasValue) {
            options.journal = arguments[++i];
        } else if (Is(argument, L"/busy") && hasValue) {
            if (!Count(arguments[++i], options.busy.busyCalls)) {
                parsed.error = L"/busy wants a count";
                return parsed;
            }
        } else if (Is(argument, L"/busy-after") && hasValue) {
            if (!Count(arguments[++i], options.busy.callsBefore)) {
                parsed.error = L"/busy-after wants a count";
                return parsed;
            }
        } else if ((Is(argument, L"/busy-seconds") || Is(argument, L"/busy-after-open")
                    || Is(argument, L"/start-delay")) && hasValue) {
            int& seconds = Is(argument, L"/busy-seconds")      ? options.busy.busySeconds
                : Is(argument, L"/busy-after-open")            ? options.busy.busyAfterOpenSeconds
                                                               : options.startDelaySeconds;
            if (!Count(arguments[++i], seconds)) {
                parsed.error = argument + L" wants a number of seconds";
                return parsed;
            }
        } else if (Is(argument, L"/never-ready")) {
            options.busy.neverReady = true;
        } else if (Is(argument, L"/hold-drawings")) {
            options.holdDrawings = true;
        } else if (Is(argument, L"/busy-answer") && hasValue) {
            const std::wstring& answer = arguments[++i];
            if (Is(answer, L"retry-later")) {
                options.busy.answer = BusyAnswer::RetryLater;
            } else if (Is(answer, L"rejected")) {
                options.busy.answer = BusyAnswer::Rejected;
            } else {
                parsed.error = L"/busy-answer is retry-later or rejected";
                return parsed;
            }
        } else {
            parsed.error = L"unknown argument " + argument;
            return parsed;
        }
    }
    if (!modeGiven) {
        parsed.error = L"no mode given";
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}

std::wstring ServerArguments(const Options& options)
{
    std::wstring tail;
    if (!options.journal.empty())
        tail += L" /journal " + Quoted(options.journal);
    if (options.busy.busyCalls > 0) {
        tail += L" /busy " + std::to_wstring(options.busy.busyCalls);
        tail += L" /busy-after " + std::to_wstring(options.busy.callsBefore);
    }
    if (options.busy.turnsCallsAway())
        tail += options.busy.answer == BusyAnswer::Rejected ? L" /busy-answer rejected"
                                                            : L" /busy-answer retry-later";
    if (options.busy.busySeconds > 0)
        tail += L" /busy-seconds " + std::to_wstring(options.busy.busySeconds);
    if (options.busy.busyAfterOpenSeconds > 0)
        tail += L" /busy-after-open " + std::to_wstring(options.busy.busyAfterOpenSeconds);
    if (options.busy.neverReady)
        tail += L" /never-ready";
    if (options.startDelaySeconds > 0)
        tail += L" /start-delay " + std::to_wstring(options.startDelaySeconds);
    if (options.holdDrawings)
        tail += L" /hold-drawings";
    return tail;
}

} // namespace fake_autocad
