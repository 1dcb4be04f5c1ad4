// SPDX-License-Identifier: MIT
#include "journal.h"

#include <windows.h>

#include <cwchar>

namespace fake_autocad {

namespace {

std::wstring journalPath;
bool closed = false;

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        size, nullptr, nullptr);
    return bytes;
}

} // namespace

void OpenJournal(const std::wstring& path)
{
    journalPath = path;
    closed = false;
}

void Note(const std::wstring& line)
{
    if (journalPath.empty() || closed)
        return;
    // Opened for each line: the running instance and one started by COM may
    // share the file, and a line must be on disk before the call returns.
    const HANDLE file = CreateFileW(journalPath.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string bytes = Utf8(line) + "\n";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void CloseJournal()
{
    closed = true;
}

std::wstring Printable(const std::wstring& text)
{
    std::wstring shown;
    for (const wchar_t c : text) {
        switch (c) {
        case L'\r': shown += L"\\r"; break;
        case L'\n': shown += L"\\n"; break;
        case L'\t': shown += L"\\t"; break;
        default:
            if (c < 0x20) {
                wchar_t escape[8];
                swprintf(escape, 8, L"\\x%02X", static_cast<unsigned>(c));
                shown += escape;
            } else {
                shown += c;
            }
        }
    }
    return shown;
}

} // namespace fake_autocad
