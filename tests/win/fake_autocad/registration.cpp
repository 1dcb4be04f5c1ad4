// SPDX-License-Identifier: MIT
#include "registration.h"

#include <windows.h>
#include <objbase.h>

namespace fake_autocad {

// {C27191F5-694E-4E05-920D-254C27369B9F}
const CLSID kApplicationClass = {
    0xc27191f5, 0x694e, 0x4e05, {0x92, 0x0d, 0x25, 0x4c, 0x27, 0x36, 0x9b, 0x9f}};
const wchar_t kProgId[] = L"AutoCAD.Application";

namespace {

// Where class registrations live: a root key and the path below it.
struct ClassesKey {
    HKEY root;
    const wchar_t* name;  // for messages
    const wchar_t* path;  // ends with a backslash, or empty
};

const ClassesKey kPerUser{HKEY_CURRENT_USER, L"HKCU\\", L"Software\\Classes\\"};
const ClassesKey kMachine{HKEY_CLASSES_ROOT, L"HKCR\\", L""};

std::wstring ClassId()
{
    wchar_t text[64] = {};
    StringFromGUID2(kApplicationClass, text, 64);
    return text;
}

std::wstring SetDefaultValue(const ClassesKey& where, const std::wstring& key,
                             const std::wstring& value)
{
    const std::wstring path = where.path + key;
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(where.root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(handle, nullptr, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    if (status != ERROR_SUCCESS)
        return L"cannot write " + std::wstring(where.name) + path + L" (error "
               + std::to_wstring(status) + L")";
    return {};
}

std::wstring WriteEntries(const ClassesKey& where, const std::wstring& serverCommand)
{
    const std::wstring classKey = L"CLSID\\" + ClassId();
    const std::wstring entries[][2] = {
        {kProgId, L"AutoCAD automation test double"},
        {std::wstring(kProgId) + L"\\CLSID", ClassId()},
        {classKey, L"AutoCAD automation test double"},
        {classKey + L"\\ProgID", kProgId},
        {classKey + L"\\LocalServer32", serverCommand},
    };
    for (const auto& entry : entries) {
        if (std::wstring error = SetDefaultValue(where, entry[0], entry[1]); !error.empty())
            return error;
    }
    return {};
}

std::wstring DeleteEntries(const ClassesKey& where)
{
    for (const std::wstring& key : {std::wstring(kProgId), L"CLSID\\" + ClassId()}) {
        // With a subkey named, the key itself goes too.
        const std::wstring path = where.path + key;
        const LSTATUS status = RegDeleteTreeW(where.root, path.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return L"cannot delete " + std::wstring(where.name) + path + L" (error "
                   + std::to_wstring(status) + L")";
    }
    return {};
}

bool ComFindsUs()
{
    CLSID found{};
    return SUCCEEDED(CLSIDFromProgID(kProgId, &found)) && IsEqualCLSID(found, kApplicationClass);
}

} // namespace

std::wstring RegisterServer(const std::wstring& serverCommand)
{
    if (std::wstring error = WriteEntries(kPerUser, serverCommand); !error.empty())
        return error;
    if (ComFindsUs())
        return {};
    if (std::wstring error = WriteEntries(kMachine, serverCommand); !error.empty())
        return error;
    return ComFindsUs() ? std::wstring() : L"COM does not find " + std::wstring(kProgId);
}

std::wstring UnregisterServer()
{
    if (std::wstring error = DeleteEntries(kPerUser); !error.empty())
        return error;
    // Written only where needed; absent is fine, and so is no right to it
    // when it was never written.
    const std::wstring machine = DeleteEntries(kMachine);
    if (!machine.empty() && ComFindsUs())
        return machine;
    return {};
}

} // namespace fake_autocad
