// SPDX-License-Identifier: MIT
// A stand-in for AutoCAD's automation server, for tests of the program's COM
// backend. It implements by name the few members the program calls, refuses
// every call that is not shaped exactly as the real host wants it, and writes
// what happened to a journal that the tests compare line by line.
#include "busy_filter.h"
#include "host_objects.h"
#include "journal.h"
#include "lifetime.h"
#include "options.h"
#include "registration.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace fake_autocad;

namespace {

// Held by every instance; /stop signals it.
const wchar_t kStopEvent[] = L"TalvexFakeAutoCAD.Stop";

class ApplicationFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Registered with COM for the life of the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        IDispatch* application = NewApplication();
        const HRESULT hr = application->QueryInterface(iid, object);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        fake_autocad::LockServer(lock != FALSE);
        return S_OK;
    }
};

std::vector<std::wstring> Arguments()
{
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; list != nullptr && i < count; ++i)
        arguments.emplace_back(list[i]);
    LocalFree(list);
    return arguments;
}

std::wstring OwnPath()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

int Fail(const std::wstring& what)
{
    fwprintf(stderr, L"fake_autocad: %ls\n", what.c_str());
    return 1;
}

std::wstring Hex(HRESULT hr)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// Serves calls until WM_QUIT or the stop event.
void ServeCalls(HANDLE stop)
{
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0)
            return;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void NoteExit()
{
    const long held = LiveObjects();
    Note(held == 0 ? std::wstring(L"exit")
                   : L"exit with " + std::to_wstring(held) + L" objects held");
    CloseJournal();
}

// Started by COM: serve the class until the last object is gone, or until
// told to stop (a test that failed to release everything ends it that way).
int ServeEmbedded(HANDLE stop, const Options& options)
{
    Note(L"start embedding");
    // A host that loads for a while before COM can reach its class.
    if (options.startDelaySeconds > 0)
        Sleep(DWORD(options.startDelaySeconds) * 1000);
    InstallBusyFilter(options.busy);
    static ApplicationFactory factory;
    DWORD cookie = 0;
    const HRESULT hr = CoRegisterClassObject(kApplicationClass, &factory, CLSCTX_LOCAL_SERVER,
                                             REGCLS_MULTIPLEUSE, &cookie);
    if (FAILED(hr))
        return Fail(L"CoRegisterClassObject failed: " + Hex(hr));
    EndWhenUnused(true);
    ServeCalls(stop);
    CoRevokeClassObject(cookie);
    NoteExit();
    return 0;
}

// A host the user started: an application object in the Running Object
// Table until /stop.
int ServeRunning(HANDLE stop)
{
    Note(L"start running");
    IDispatch* application = NewApplication();
    DWORD cookie = 0;
    const HRESULT hr =
        RegisterActiveObject(application, kApplicationClass, ACTIVEOBJECT_STRONG, &cookie);
    if (FAILED(hr)) {
        application->Release();
        return Fail(L"RegisterActiveObject failed: " + Hex(hr));
    }
    // The test waits for this line before it looks for the running host.
    fputs("ready\n", stdout);
    fflush(stdout);
    ServeCalls(stop);
    RevokeActiveObject(cookie, nullptr);
    application->Release();
    NoteExit();
    return 0;
}

int Report(const std::wstring& error)
{
    return error.empty() ? 0 : Fail(error);
}

// Ends every instance, started by hand or by COM, and returns once they are
// gone: the event exists as long as one of them holds it.
int StopAll()
{
    HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEvent);
    if (stop == nullptr)
        return Fail(L"no instance is running");
    SetEvent(stop);
    CloseHandle(stop);
    for (int waited = 0; waited < 20000; waited += 50) {
        stop = OpenEventW(SYNCHRONIZE, FALSE, kStopEvent);
        if (stop == nullptr)
            return 0;
        CloseHandle(stop);
        Sleep(50);
    }
    return Fail(L"an instance did not end");
}

} // namespace

int main()
{
    const ParsedOptions parsed = ParseOptions(Arguments());
    if (!parsed.ok) {
        Fail(parsed.error);
        fputws(kUsage, stderr);
        return 2;
    }
    const Options& options = parsed.options;
    if (options.mode == Mode::Stop)
        return StopAll();
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return Fail(L"CoInitializeEx failed");
    int status = 0;
    switch (options.mode) {
    case Mode::Register:
        status = Report(RegisterServer(L"\"" + OwnPath() + L"\"" + ServerArguments(options)));
        break;
    case Mode::Unregister:
        status = Report(UnregisterServer());
        break;
    case Mode::Run:
    case Mode::Embedding: {
        const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kStopEvent);
        if (stop == nullptr) {
            status = Fail(L"cannot create the stop event");
            break;
        }
        OpenJournal(options.journal);
        HoldDrawings(options.holdDrawings);
        if (options.mode == Mode::Run) {
            InstallBusyFilter(options.busy);
            status = ServeRunning(stop);
        } else {
            status = ServeEmbedded(stop, options);
        }
        CloseHandle(stop);
        break;
    }
    case Mode::Stop:
        break;
    }
    CoUninitialize();
    return status;
}
