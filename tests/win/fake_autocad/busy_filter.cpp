// SPDX-License-Identifier: MIT
#include "busy_filter.h"
#include "journal.h"

#include <string>

namespace fake_autocad {

namespace {

bool retryLaterPending = false;

std::wstring MethodName(WORD method)
{
    // IDispatch's methods after IUnknown's three.
    switch (method) {
    case 3: return L"GetTypeInfoCount";
    case 4: return L"GetTypeInfo";
    case 5: return L"GetIDsOfNames";
    case 6: return L"Invoke";
    default: return L"method " + std::to_wstring(method);
    }
}

class BusyFilter final : public IMessageFilter {
public:
    explicit BusyFilter(const BusyPlan& plan)
        : plan_(plan), busyUntil_(GetTickCount64() + 1000ull * unsigned(plan.busySeconds)) {}
    void busyAfterOpen()
    {
        if (plan_.busyAfterOpenSeconds > 0)
            busyUntil_ = GetTickCount64() + 1000ull * unsigned(plan_.busyAfterOpenSeconds);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD,
                                               LPINTERFACEINFO call) override
    {
        retryLaterPending = false;
        // Only the automation calls: reference counting and interface queries
        // go through whatever the host is doing.
        if (call == nullptr || call->iid != IID_IDispatch)
            return SERVERCALL_ISHANDLED;
        ++seen_;
        const bool counted = seen_ > plan_.callsBefore && seen_ <= plan_.callsBefore + plan_.busyCalls;
        if (!counted && !plan_.neverReady && GetTickCount64() >= busyUntil_)
            return SERVERCALL_ISHANDLED;
        if (plan_.answer == BusyAnswer::Rejected) {
            Note(L"reject " + MethodName(call->wMethod));
            return SERVERCALL_REJECTED;
        }
        Note(L"busy " + MethodName(call->wMethod));
        retryLaterPending = true;
        return SERVERCALL_RETRYLATER;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override
    {
        return static_cast<DWORD>(-1);  // the server makes no outgoing calls
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override
    {
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    BusyPlan plan_;
    int seen_ = 0;
    ULONGLONG busyUntil_;
};

BusyFilter* installed = nullptr;

} // namespace

void InstallBusyFilter(const BusyPlan& plan)
{
    if (!plan.turnsCallsAway())
        return;
    static BusyFilter filter(plan);
    installed = &filter;
    IMessageFilter* previous = nullptr;
    CoRegisterMessageFilter(&filter, &previous);
}

void StartBusyAfterOpen()
{
    if (installed != nullptr)
        installed->busyAfterOpen();
}

bool TakeUndeliveredRetryLater()
{
    const bool pending = retryLaterPending;
    retryLaterPending = false;
    return pending;
}

} // namespace fake_autocad
