// SPDX-License-Identifier: MIT
#include "com_dispatch.h"
#include "com_activation.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace generation::win {

namespace {

// The system's text for an HRESULT, with the code itself, which is what a
// support call needs when the text is generic.
std::wstring SystemText(HRESULT code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
            | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr)
        text.assign(buffer, length);
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    wchar_t hex[16];
    swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return text.empty() ? L"Error " + std::wstring(hex) : text + L" (" + hex + L")";
}

CallFailure FailureOf(HRESULT code)
{
    return CallFailure{code, SystemText(code)};
}

void ClearException(EXCEPINFO& exception)
{
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
}

// DISP_E_EXCEPTION: the host said what went wrong in the EXCEPINFO; its words
// are the reason, the system's text for its code only when it gave none.
CallFailure FailureOf(EXCEPINFO& exception)
{
    if (exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    const HRESULT code = FAILED(exception.scode) ? exception.scode : DISP_E_EXCEPTION;
    CallFailure failure{code, {}};
    if (exception.bstrDescription != nullptr && SysStringLen(exception.bstrDescription) > 0)
        failure.description.assign(exception.bstrDescription,
                                   SysStringLen(exception.bstrDescription));
    else
        failure.description = SystemText(code);
    ClearException(exception);
    return failure;
}

bool HostBusy(HRESULT result)
{
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

template <typename Call>
HRESULT RetryWhileBusy(const BusyWait& wait, Call call)
{
    HRESULT result = call();
    while (HostBusy(result) && wait.pauseBeforeRetry && wait.pauseBeforeRetry())
        result = call();
    return result;
}

// A local server that has been started but has not registered its class in
// time (a CAD host's first start of the day), or one that turns the
// activation away while it starts.
bool HostStarting(HRESULT result)
{
    return HostBusy(result) || result == CO_E_SERVER_EXEC_FAILURE
        || result == CO_E_SERVER_START_TIMEOUT || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
        || result == HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}

// One argument of a call, owning what its VARIANT points at.
class Argument {
public:
    explicit Argument(const std::wstring& text)
    {
        VariantInit(&value_);
        value_.vt = VT_BSTR;
        value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit Argument(bool flag)
    {
        VariantInit(&value_);
        value_.vt = VT_BOOL;
        value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    ~Argument() { VariantClear(&value_); }
    Argument(const Argument&) = delete;
    Argument& operator=(const Argument&) = delete;
    const VARIANT& value() const { return value_; }
    bool valid() const { return value_.vt != VT_BSTR || value_.bstrVal != nullptr; }

private:
    VARIANT value_;
};

// A VARIANT that clears itself.
class CallValue {
public:
    CallValue() { VariantInit(&value_); }
    ~CallValue() { VariantClear(&value_); }
    CallValue(const CallValue&) = delete;
    CallValue& operator=(const CallValue&) = delete;
    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

// Calls member name of dispatch. Arguments come in call order; DISPPARAMS
// wants them last first. A property put names its one argument
// DISPID_PROPERTYPUT.
CallStatus InvokeByName(IDispatch* dispatch, const BusyWait& wait, const std::wstring& name,
                        WORD flags, const std::vector<const Argument*>& arguments,
                        VARIANT* result)
{
    for (const Argument* argument : arguments) {
        if (!argument->valid())
            return FailureOf(E_OUTOFMEMORY);
    }
    std::wstring member = name;
    LPOLESTR names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT found = RetryWhileBusy(wait, [&] {
        return dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (FAILED(found))
        return FailureOf(found);

    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (const Argument* argument : arguments)
        reversed.push_back(argument->value());  // shallow: the Argument keeps ownership
    std::reverse(reversed.begin(), reversed.end());

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    const HRESULT invoked = RetryWhileBusy(wait, [&] {
        // What a turned-away attempt left behind belongs to no one else.
        ClearException(exception);
        if (result != nullptr)
            VariantClear(result);
        UINT argumentError = 0;
        return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                                &exception, &argumentError);
    });
    if (invoked == DISP_E_EXCEPTION)
        return FailureOf(exception);
    ClearException(exception);
    if (FAILED(invoked))
        return FailureOf(invoked);
    return {};
}

// The object a call returned, taking over its reference.
ObjectResult TakeObject(VARIANT& result, const BusyWait& wait)
{
    IDispatch* dispatch = nullptr;
    if (result.vt == VT_DISPATCH && result.pdispVal != nullptr) {
        dispatch = result.pdispVal;
        result.vt = VT_EMPTY;  // the reference now belongs to the new object
    } else if (result.vt == VT_UNKNOWN && result.punkVal != nullptr) {
        result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    }
    VariantClear(&result);
    if (dispatch == nullptr)
        return CallFailure{E_NOINTERFACE, L"The call returned no automation object"};
    return std::make_unique<DispatchObject>(dispatch, wait);
}

CallResult<CLSID> ClassOf(const std::wstring& progId)
{
    CLSID clsid{};
    const HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr))
        return FailureOf(hr);
    return clsid;
}

} // namespace

CallStatus EnsureComInitialized()
{
    // Once per thread, never undone: COM stays for the thread's life. A
    // thread that already has COM answers S_FALSE, or RPC_E_CHANGED_MODE
    // when it chose the multithreaded model; either way COM is usable.
    thread_local bool initialized = false;
    if (!initialized) {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(hr) && hr != RPC_E_CHANGED_MODE)
            return FailureOf(hr);
        initialized = true;
    }
    return {};
}

DispatchObject::DispatchObject(IDispatch* dispatch, BusyWait wait)
    : dispatch_(dispatch), wait_(wait)
{
}

DispatchObject::~DispatchObject()
{
    if (dispatch_ != nullptr)
        dispatch_->Release();
}

ObjectResult DispatchObject::AttachToRunning(const std::wstring& progId, BusyWait wait)
{
    if (CallStatus com = EnsureComInitialized(); !com)
        return com.failure();
    auto clsid = ClassOf(progId);
    if (!clsid)
        return clsid.failure();
    IUnknown* unknown = nullptr;
    HRESULT hr = ::GetActiveObject(*clsid, nullptr, &unknown);
    if (FAILED(hr) || unknown == nullptr)
        return FailureOf(FAILED(hr) ? hr : E_POINTER);
    IDispatch* dispatch = nullptr;
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (FAILED(hr) || dispatch == nullptr)
        return FailureOf(FAILED(hr) ? hr : E_NOINTERFACE);
    return std::make_unique<DispatchObject>(dispatch, wait);
}

ObjectResult DispatchObject::CreateInstance(const std::wstring& progId, BusyWait wait)
{
    if (CallStatus com = EnsureComInitialized(); !com)
        return com.failure();
    auto clsid = ClassOf(progId);
    if (!clsid)
        return clsid.failure();
    for (;;) {
        const ULONGLONG started = GetTickCount64();
        CallResult<IDispatch*> made = ActivateLocalServer(*clsid, wait);
        if (made)
            return std::make_unique<DispatchObject>(*made, wait);
        const HRESULT hr = made.failure().code;
        // Wine's activation gives up on a server that has not registered its
        // class after about 30 s, and says the class is not registered.
        const bool starting = HostStarting(hr)
            || (hr == REGDB_E_CLASSNOTREG && GetTickCount64() - started >= 5000);
        if (!starting || !wait.pauseBeforeRetry || !wait.pauseBeforeRetry())
            return made.failure().description.empty() ? FailureOf(hr) : made.failure();
        // The host may have come up meanwhile and be found running; else
        // the next activation reaches it once it has registered.
        IUnknown* running = nullptr;
        if (SUCCEEDED(::GetActiveObject(*clsid, nullptr, &running)) && running != nullptr) {
            IDispatch* dispatch = nullptr;
            const HRESULT found =
                running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
            running->Release();
            if (SUCCEEDED(found) && dispatch != nullptr)
                return std::make_unique<DispatchObject>(dispatch, wait);
        }
    }
}

CallStatus DispatchObject::PutBoolProperty(const std::wstring& name, bool value)
{
    const Argument argument(value);
    return InvokeByName(dispatch_, wait_, name, DISPATCH_PROPERTYPUT, {&argument}, nullptr);
}

ObjectResult DispatchObject::GetObjectProperty(const std::wstring& name)
{
    CallValue result;
    if (CallStatus called =
            InvokeByName(dispatch_, wait_, name, DISPATCH_PROPERTYGET, {}, result.get());
        !called)
        return called.failure();
    return TakeObject(*result.get(), wait_);
}

ObjectResult DispatchObject::CallWithTextAndBool(const std::wstring& name,
                                                 const std::wstring& text, bool flag)
{
    const Argument first(text);
    const Argument second(flag);
    CallValue result;
    if (CallStatus called = InvokeByName(dispatch_, wait_, name, DISPATCH_METHOD,
                                         {&first, &second}, result.get());
        !called)
        return called.failure();
    return TakeObject(*result.get(), wait_);
}

CallStatus DispatchObject::CallWithText(const std::wstring& name, const std::wstring& text)
{
    const Argument argument(text);
    CallValue result;
    return InvokeByName(dispatch_, wait_, name, DISPATCH_METHOD, {&argument}, result.get());
}

} // namespace generation::win
