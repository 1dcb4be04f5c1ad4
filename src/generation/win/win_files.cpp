// SPDX-License-Identifier: MIT
#include "win_files.h"

#include <windows.h>

namespace generation::win {

namespace {

std::wstring Wide(const QString& path)
{
    return path.toStdWString();
}

base::Failure LastError()
{
    return base::Fail(DescribeError(GetLastError()));
}

} // namespace

QString DescribeError(unsigned long code)
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
    return QString::fromStdWString(description);
}

QString TemporaryFolder()
{
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH + 1)
        return {};
    std::wstring folder(buffer, length);
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    if (!driveRoot && !folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return QString::fromStdWString(folder);
}

bool PlainFileFound(const QString& path)
{
    if (path.isEmpty())
        return false;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) == 0;
}

base::Status DeleteFileWide(const QString& path)
{
    if (DeleteFileW(Wide(path).c_str()) == FALSE)
        return LastError();
    return {};
}

base::Status CopyFileOverwriting(const QString& source, const QString& destination)
{
    const std::wstring target = Wide(destination);
    // CopyFileW refuses to replace a read-only or hidden target.
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) == 0)
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (CopyFileW(Wide(source).c_str(), target.c_str(), FALSE) == FALSE)
        return LastError();
    return {};
}

base::Status ClearAttributes(const QString& path)
{
    if (SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL) == FALSE)
        return LastError();
    return {};
}

} // namespace generation::win
