#include "com_dispatch.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <vector>

namespace generation::win {

namespace {

// A host that is still starting up rejects calls for a while; retry those a
// bounded number of times instead of losing the step.
constexpr int kRejectedCallRetries = 40;
constexpr DWORD kRejectedCallPauseMs = 250;

template <typename Call>
HRESULT RetryWhileRejected(Call call)
{
    HRESULT result = call();
    for (int attempt = 0; result == RPC_E_CALL_REJECTED && attempt < kRejectedCallRetries;
         ++attempt) {
        Sleep(kRejectedCallPauseMs);
        result = call();
    }
    return result;
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

// Calls member name of dispatch. Arguments come in call order; DISPPARAMS
// wants them last first. A property put names its one argument
// DISPID_PROPERTYPUT.
HRESULT InvokeByName(IDispatch* dispatch, const std::wstring& name, WORD flags,
                     const std::vector<const Argument*>& arguments, VARIANT* result)
{
    for (const Argument* argument : arguments) {
        if (!argument->valid())
            return E_OUTOFMEMORY;
    }
    std::wstring member = name;
    LPOLESTR names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = RetryWhileRejected([&] {
        return dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (FAILED(hr))
        return hr;

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
    return RetryWhileRejected([&] {
        if (result != nullptr)
            VariantClear(result);
        return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                                nullptr, nullptr);
    });
}

// The object a call returned, taking over its reference.
std::unique_ptr<DispatchObject> TakeObject(VARIANT& result)
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
        return nullptr;
    return std::make_unique<DispatchObject>(dispatch);
}

bool ClassOf(const std::wstring& progId, CLSID& clsid)
{
    return SUCCEEDED(CLSIDFromProgID(progId.c_str(), &clsid));
}

} // namespace

void EnsureComInitialized()
{
    // Once per thread; a thread that already has COM (Qt's own OLE set-up on
    // the user-interface thread) answers S_FALSE or RPC_E_CHANGED_MODE, and
    // either way COM is usable.
    thread_local bool initialized = false;
    if (!initialized) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        initialized = true;
    }
}

DispatchObject::DispatchObject(IDispatch* dispatch) : dispatch_(dispatch) {}

DispatchObject::~DispatchObject()
{
    if (dispatch_ != nullptr)
        dispatch_->Release();
}

std::unique_ptr<DispatchObject> DispatchObject::AttachToRunning(const std::wstring& progId)
{
    EnsureComInitialized();
    CLSID clsid{};
    if (!ClassOf(progId, clsid))
        return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(::GetActiveObject(clsid, nullptr, &unknown)) || unknown == nullptr)
        return nullptr;
    IDispatch* dispatch = nullptr;
    const HRESULT hr =
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (FAILED(hr) || dispatch == nullptr)
        return nullptr;
    return std::make_unique<DispatchObject>(dispatch);
}

std::unique_ptr<DispatchObject> DispatchObject::CreateInstance(const std::wstring& progId)
{
    EnsureComInitialized();
    CLSID clsid{};
    if (!ClassOf(progId, clsid))
        return nullptr;
    IDispatch* dispatch = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                        reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) || dispatch == nullptr)
        return nullptr;
    return std::make_unique<DispatchObject>(dispatch);
}

bool DispatchObject::PutBoolProperty(const std::wstring& name, bool value)
{
    const Argument argument(value);
    return SUCCEEDED(InvokeByName(dispatch_, name, DISPATCH_PROPERTYPUT, {&argument}, nullptr));
}

std::unique_ptr<DispatchObject> DispatchObject::GetObjectProperty(const std::wstring& name)
{
    VARIANT result;
    VariantInit(&result);
    if (FAILED(InvokeByName(dispatch_, name, DISPATCH_PROPERTYGET, {}, &result))) {
        VariantClear(&result);
        return nullptr;
    }
    return TakeObject(result);
}

std::unique_ptr<DispatchObject> DispatchObject::CallWithTextAndBool(const std::wstring& name,
                                                                    const std::wstring& text,
                                                                    bool flag)
{
    const Argument first(text);
    const Argument second(flag);
    VARIANT result;
    VariantInit(&result);
    if (FAILED(InvokeByName(dispatch_, name, DISPATCH_METHOD, {&first, &second}, &result))) {
        VariantClear(&result);
        return nullptr;
    }
    return TakeObject(result);
}

bool DispatchObject::CallWithText(const std::wstring& name, const std::wstring& text)
{
    const Argument argument(text);
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = InvokeByName(dispatch_, name, DISPATCH_METHOD, {&argument}, &result);
    VariantClear(&result);
    return SUCCEEDED(hr);
}

} // namespace generation::win
