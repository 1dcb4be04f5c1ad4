// SPDX-License-Identifier: MIT
#include "host_objects.h"
#include "automation_object.h"
#include "busy_filter.h"
#include "journal.h"

#include <windows.h>

namespace fake_autocad {

namespace {

std::wstring Flag(bool value)
{
    return value ? L"true" : L"false";
}

class Document final : public AutomationObject {
public:
    Document() : AutomationObject(L"document", {L"SendCommand"}) {}

protected:
    HRESULT Call(DISPID, Invocation& call) override
    {
        std::wstring command;
        if (HRESULT hr = ExpectMethod(call, 1, false); FAILED(hr))
            return hr;
        if (HRESULT hr = TextArgument(call, 1, command); FAILED(hr))
            return hr;
        Note(L"SendCommand " + Printable(command));
        return S_OK;
    }
};

bool holdDrawings = false;

class Documents final : public AutomationObject {
public:
    Documents() : AutomationObject(L"documents", {L"Open"}) {}

protected:
    HRESULT Call(DISPID, Invocation& call) override
    {
        std::wstring path;
        bool readOnly = false;
        if (HRESULT hr = ExpectMethod(call, 2, true); FAILED(hr))
            return hr;
        if (HRESULT hr = TextArgument(call, 1, path); FAILED(hr))
            return hr;
        if (HRESULT hr = BoolArgument(call, 2, readOnly); FAILED(hr))
            return hr;
        // The host opens a real file: a drawing that was not staged where the
        // program says, or a path mangled on the way, fails here.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Throw(call, L"Cannot open the drawing " + Printable(path));
        Note(L"Open " + Printable(path) + L" " + Flag(readOnly));
        if (holdDrawings) {
            // Never closed: the process ends with the drawing open.
            const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            Note(held == INVALID_HANDLE_VALUE ? L"cannot hold " + Printable(path)
                                              : L"hold " + Printable(path));
        }
        StartBusyAfterOpen();
        ReturnObject(call, new Document);
        return S_OK;
    }
};

class Application final : public AutomationObject {
public:
    Application() : AutomationObject(L"application", {L"Visible", L"Documents"}) {}

protected:
    HRESULT Call(DISPID id, Invocation& call) override
    {
        if (id == 1) {
            bool visible = false;
            if (HRESULT hr = ExpectPut(call); FAILED(hr))
                return hr;
            if (HRESULT hr = BoolArgument(call, 1, visible); FAILED(hr))
                return hr;
            Note(L"Visible " + Flag(visible));
            return S_OK;
        }
        if (HRESULT hr = ExpectGet(call); FAILED(hr))
            return hr;
        Note(L"get Documents");
        ReturnObject(call, new Documents);
        return S_OK;
    }
};

} // namespace

IDispatch* NewApplication()
{
    return new Application;
}

void HoldDrawings(bool hold)
{
    holdDrawings = hold;
}

} // namespace fake_autocad
