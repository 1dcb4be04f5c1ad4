// SPDX-License-Identifier: MIT
#pragma once
// IDispatch by name, strict in what it accepts: a call that a script engine
// or a careful client would not make is refused with the error the real host
// would give, and the refusal is written to the journal so that a test sees
// why its call went nowhere.
#include <oaidl.h>

#include <string>
#include <vector>

namespace fake_autocad {

// One call as Invoke received it.
struct Invocation {
    std::wstring member;
    WORD flags;
    DISPPARAMS& parameters;
    VARIANT* result;
    EXCEPINFO* exception;
    UINT* argumentError;
};

class AutomationObject : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                            LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

protected:
    // kind names the object in the journal ("create kind", "release kind");
    // members are the names it answers to, their DISPIDs 1, 2, ...
    AutomationObject(std::wstring kind, std::vector<std::wstring> members);
    virtual ~AutomationObject();
    virtual HRESULT Call(DISPID id, Invocation& call) = 0;

    // Each checks the shape of the call and refuses it (journal line and the
    // error to return) when it is not that shape; S_OK when it is.
    static HRESULT ExpectPut(Invocation& call);
    static HRESULT ExpectGet(Invocation& call);
    static HRESULT ExpectMethod(Invocation& call, UINT argumentCount, bool returnsValue);
    // Argument number position (1 = first in the call) as text or as a
    // VARIANT_BOOL that is exactly VARIANT_TRUE or VARIANT_FALSE.
    static HRESULT TextArgument(Invocation& call, UINT position, std::wstring& text);
    static HRESULT BoolArgument(Invocation& call, UINT position, bool& flag);
    static HRESULT Refuse(Invocation& call, HRESULT error, const std::wstring& why);
    // DISP_E_EXCEPTION with description in the EXCEPINFO, as the host reports
    // a command that failed.
    static HRESULT Throw(Invocation& call, const std::wstring& description);
    // Hands object (one reference) to the caller as the call's result.
    static void ReturnObject(Invocation& call, IDispatch* object);

private:
    static HRESULT CheckArgumentType(Invocation& call, UINT position, VARTYPE expected);

    LONG references_ = 1;
    std::wstring kind_;
    std::vector<std::wstring> members_;
};

} // namespace fake_autocad
