#include "win_files.h"

#include <windows.h>

namespace generation::win {

std::wstring DescribeError(unsigned long code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
            | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description;
    if (length != 0 && text != nullptr)
        description.assign(text, length);
    if (text != nullptr)
        LocalFree(text);
    while (!description.empty()
           && (description.back() == L'\r' || description.back() == L'\n'))
        description.pop_back();
    if (description.empty())
        description = L"Error " + std::to_wstring(code);
    return description;
}

std::wstring TemporaryFolder()
{
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH + 1)
        return {};
    std::wstring folder(buffer, length);
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    if (!driveRoot && !folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

bool PlainFileFound(const std::wstring& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) == 0;
}

bool DeleteFileWide(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != FALSE;
}

std::optional<std::wstring> CopyFileOverwriting(const std::wstring& source,
                                                const std::wstring& destination)
{
    // CopyFileW refuses to replace a read-only or hidden target.
    const DWORD existing = GetFileAttributesW(destination.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) == 0)
        SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (CopyFileW(source.c_str(), destination.c_str(), FALSE) == FALSE)
        return DescribeError(GetLastError());
    return std::nullopt;
}

std::optional<std::wstring> ClearAttributes(const std::wstring& path)
{
    if (SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) == FALSE)
        return DescribeError(GetLastError());
    return std::nullopt;
}

} // namespace generation::win
