// SPDX-License-Identifier: MIT
#include "automation_object.h"
#include "busy_filter.h"
#include "journal.h"
#include "lifetime.h"

#include <oleauto.h>

#include <utility>

namespace fake_autocad {

namespace {

std::wstring TypeName(VARTYPE type)
{
    std::wstring name = (type & VT_BYREF) != 0 ? L"VT_BYREF|" : L"";
    switch (type & ~VT_BYREF) {
    case VT_EMPTY: return name + L"VT_EMPTY";
    case VT_NULL: return name + L"VT_NULL";
    case VT_I2: return name + L"VT_I2";
    case VT_I4: return name + L"VT_I4";
    case VT_BSTR: return name + L"VT_BSTR";
    case VT_DISPATCH: return name + L"VT_DISPATCH";
    case VT_BOOL: return name + L"VT_BOOL";
    case VT_VARIANT: return name + L"VT_VARIANT";
    default: return name + L"VT " + std::to_wstring(type & ~VT_BYREF);
    }
}

bool SameName(const std::wstring& a, const wchar_t* b)
{
    // Automation names are matched without regard to case.
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Invoke lists the arguments last first: argument 1 of n is rgvarg[n - 1].
VARIANT& ArgumentAt(Invocation& call, UINT position)
{
    return call.parameters.rgvarg[call.parameters.cArgs - position];
}

} // namespace

AutomationObject::AutomationObject(std::wstring kind, std::vector<std::wstring> members)
    : kind_(std::move(kind)), members_(std::move(members))
{
    ObjectCreated();
    Note(L"create " + kind_);
}

AutomationObject::~AutomationObject() = default;

HRESULT STDMETHODCALLTYPE AutomationObject::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AutomationObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE AutomationObject::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        Note(L"release " + kind_);
        delete this;
        ObjectReleased();
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;  // late-bound by name only, like a script sees the host
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE AutomationObject::GetIDsOfNames(REFIID iid, LPOLESTR* names,
                                                          UINT count, LCID, DISPID* ids)
{
    if (TakeUndeliveredRetryLater())
        return RPC_E_SERVERCALL_RETRYLATER;
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    for (size_t i = 0; i < members_.size(); ++i) {
        if (SameName(members_[i], names[0])) {
            ids[0] = static_cast<DISPID>(i + 1);
            // No member of the host takes named arguments.
            if (count > 1) {
                Note(L"unknown argument name " + std::wstring(names[1]) + L" of " + members_[i]);
                return DISP_E_UNKNOWNNAME;
            }
            return S_OK;
        }
    }
    Note(L"unknown name " + std::wstring(names[0]) + L" on " + kind_);
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE AutomationObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags,
                                                   DISPPARAMS* parameters, VARIANT* result,
                                                   EXCEPINFO* exception, UINT* argumentError)
{
    if (TakeUndeliveredRetryLater())
        return RPC_E_SERVERCALL_RETRYLATER;
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<size_t>(id) > members_.size()) {
        Note(L"refuse DISPID " + std::to_wstring(id) + L" on " + kind_ + L": no such member");
        return DISP_E_MEMBERNOTFOUND;
    }
    DISPPARAMS none{};
    Invocation call{members_[static_cast<size_t>(id - 1)], flags,
                    parameters != nullptr ? *parameters : none, result, exception,
                    argumentError};
    if (parameters == nullptr
        || (call.parameters.cArgs > 0 && call.parameters.rgvarg == nullptr)
        || (call.parameters.cNamedArgs > 0 && call.parameters.rgdispidNamedArgs == nullptr)
        || call.parameters.cNamedArgs > call.parameters.cArgs)
        return Refuse(call, E_INVALIDARG, L"malformed DISPPARAMS");
    return Call(id, call);
}

HRESULT AutomationObject::ExpectPut(Invocation& call)
{
    if (call.flags != DISPATCH_PROPERTYPUT)
        return Refuse(call, DISP_E_MEMBERNOTFOUND,
                      L"flags " + std::to_wstring(call.flags) + L", a property put only");
    const DISPPARAMS& p = call.parameters;
    if (p.cArgs != 1)
        return Refuse(call, DISP_E_BADPARAMCOUNT,
                      std::to_wstring(p.cArgs) + L" arguments for a property put");
    if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return Refuse(call, DISP_E_PARAMNOTOPTIONAL,
                      L"the value of a put is not named DISPID_PROPERTYPUT");
    return S_OK;
}

HRESULT AutomationObject::ExpectGet(Invocation& call)
{
    if ((call.flags & DISPATCH_PROPERTYGET) == 0
        || (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
        return Refuse(call, DISP_E_MEMBERNOTFOUND,
                      L"flags " + std::to_wstring(call.flags) + L", a property get only");
    if (call.parameters.cArgs != 0 || call.parameters.cNamedArgs != 0)
        return Refuse(call, DISP_E_BADPARAMCOUNT,
                      std::to_wstring(call.parameters.cArgs) + L" arguments for a property get");
    if (call.result == nullptr)
        return Refuse(call, E_INVALIDARG, L"no place for the result");
    return S_OK;
}

HRESULT AutomationObject::ExpectMethod(Invocation& call, UINT argumentCount, bool returnsValue)
{
    if ((call.flags & DISPATCH_METHOD) == 0
        || (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
        return Refuse(call, DISP_E_MEMBERNOTFOUND,
                      L"flags " + std::to_wstring(call.flags) + L", a method call only");
    if (call.parameters.cNamedArgs != 0)
        return Refuse(call, DISP_E_NONAMEDARGS, L"named arguments");
    if (call.parameters.cArgs != argumentCount)
        return Refuse(call, DISP_E_BADPARAMCOUNT,
                      std::to_wstring(call.parameters.cArgs) + L" arguments, not "
                          + std::to_wstring(argumentCount));
    if (returnsValue && call.result == nullptr)
        return Refuse(call, E_INVALIDARG, L"no place for the result");
    return S_OK;
}

HRESULT AutomationObject::CheckArgumentType(Invocation& call, UINT position, VARTYPE expected)
{
    const VARTYPE actual = ArgumentAt(call, position).vt;
    if (actual == expected)
        return S_OK;
    if (call.argumentError != nullptr)
        *call.argumentError = call.parameters.cArgs - position;
    return Refuse(call, DISP_E_TYPEMISMATCH,
                  L"argument " + std::to_wstring(position) + L" is "
                      + TypeName(actual) + L", not " + TypeName(expected));
}

HRESULT AutomationObject::TextArgument(Invocation& call, UINT position, std::wstring& text)
{
    if (const HRESULT checked = CheckArgumentType(call, position, VT_BSTR); FAILED(checked))
        return checked;
    const BSTR value = ArgumentAt(call, position).bstrVal;
    text.assign(value != nullptr ? value : L"", value != nullptr ? SysStringLen(value) : 0);
    return S_OK;
}

HRESULT AutomationObject::BoolArgument(Invocation& call, UINT position, bool& flag)
{
    if (const HRESULT checked = CheckArgumentType(call, position, VT_BOOL); FAILED(checked))
        return checked;
    const VARIANT_BOOL value = ArgumentAt(call, position).boolVal;
    if (value != VARIANT_TRUE && value != VARIANT_FALSE) {
        if (call.argumentError != nullptr)
            *call.argumentError = call.parameters.cArgs - position;
        return Refuse(call, DISP_E_TYPEMISMATCH,
                      L"argument " + std::to_wstring(position) + L" is VT_BOOL holding "
                          + std::to_wstring(value));
    }
    flag = value == VARIANT_TRUE;
    return S_OK;
}

HRESULT AutomationObject::Refuse(Invocation& call, HRESULT error, const std::wstring& why)
{
    Note(L"refuse " + call.member + L": " + why);
    return error;
}

HRESULT AutomationObject::Throw(Invocation& call, const std::wstring& description)
{
    Note(L"refuse " + call.member + L": " + description);
    if (call.exception != nullptr) {
        *call.exception = EXCEPINFO{};
        call.exception->bstrSource = SysAllocString(L"AutoCAD");
        call.exception->bstrDescription = SysAllocString(description.c_str());
        call.exception->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
}

void AutomationObject::ReturnObject(Invocation& call, IDispatch* object)
{
    VariantInit(call.result);
    call.result->vt = VT_DISPATCH;
    call.result->pdispVal = object;
}

} // namespace fake_autocad
