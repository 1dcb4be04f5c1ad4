// SPDX-License-Identifier: MIT
// The stand-in automation server is only worth its journal if it refuses
// what AutoCAD would refuse: raw IDispatch calls, shaped wrong on purpose.
#include "fake_autocad_process.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <vector>

using testing::FakeAutoCad;

namespace {

// An interface pointer released at the end of its scope.
template <typename T>
struct Held {
    T* pointer = nullptr;
    ~Held()
    {
        if (pointer != nullptr)
            pointer->Release();
    }
    T* operator->() const { return pointer; }
};

DISPID IdOf(IDispatch* object, const wchar_t* name, HRESULT* result = nullptr)
{
    std::wstring member = name;
    LPOLESTR names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (result != nullptr)
        *result = hr;
    return id;
}

VARIANT Bool(short value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value;
    return v;
}

// args as DISPPARAMS wants them: last argument first.
HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
               bool namedPut, VARIANT* result = nullptr)
{
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = args.empty() ? nullptr : args.data();
    parameters.cArgs = static_cast<UINT>(args.size());
    if (namedPut) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    const HRESULT hr = object->Invoke(IdOf(object, name), IID_NULL, LOCALE_USER_DEFAULT, flags,
                                      &parameters, result, &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

} // namespace

class FakeAutoCadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(scratch_.isValid());
        QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        fake_ = std::make_unique<FakeAutoCad>(
            QDir::toNativeSeparators(scratch_.filePath(QStringLiteral("journal.txt"))));
        const base::Status registered = fake_->registerServer();
        QVERIFY2(registered, qPrintable(registered.error()));
        const base::Status started = fake_->startRunning();
        QVERIFY2(started, qPrintable(started.error()));
        CLSID clsid{};
        QVERIFY(SUCCEEDED(CLSIDFromProgID(L"AutoCAD.Application", &clsid)));
        Held<IUnknown> unknown;
        QVERIFY(SUCCEEDED(GetActiveObject(clsid, nullptr, &unknown.pointer)));
        QVERIFY(SUCCEEDED(unknown->QueryInterface(IID_IDispatch,
                                                  reinterpret_cast<void**>(&application_))));
    }

    void cleanupTestCase()
    {
        if (application_ != nullptr)
            application_->Release();
        fake_.reset();
        CoUninitialize();
    }

    void namesAreFoundWithoutRegardToCase()
    {
        HRESULT hr = E_FAIL;
        QCOMPARE(IdOf(application_, L"vISIBLE", &hr), IdOf(application_, L"Visible"));
        QCOMPARE(hr, S_OK);
        IdOf(application_, L"Visibel", &hr);
        QCOMPARE(hr, DISP_E_UNKNOWNNAME);
        QCOMPARE(fake_->journal().last(), QStringLiteral("unknown name Visibel on application"));
    }

    void putOfVisibleWantsExactlyVariantTrueOrFalse()
    {
        QCOMPARE(Invoke(application_, L"Visible", DISPATCH_PROPERTYPUT, {Bool(1)}, true),
                 DISP_E_TYPEMISMATCH);
        QCOMPARE(fake_->journal().last(),
                 QStringLiteral("refuse Visible: argument 1 is VT_BOOL holding 1"));
        QCOMPARE(Invoke(application_, L"Visible", DISPATCH_PROPERTYPUT, {Bool(VARIANT_TRUE)},
                        true),
                 S_OK);
        QCOMPARE(fake_->journal().last(), QStringLiteral("Visible true"));
    }

    void putWithoutItsNamedArgumentIsRefused()
    {
        QCOMPARE(Invoke(application_, L"Visible", DISPATCH_PROPERTYPUT, {Bool(VARIANT_TRUE)},
                        false),
                 DISP_E_PARAMNOTOPTIONAL);
        QCOMPARE(Invoke(application_, L"Visible", DISPATCH_METHOD, {Bool(VARIANT_TRUE)}, false),
                 DISP_E_MEMBERNOTFOUND);
        QCOMPARE(fake_->journal().last(),
                 QStringLiteral("refuse Visible: flags 1, a property put only"));
    }

    void openWantsItsArgumentsLastFirst()
    {
        VARIANT documentsValue;
        VariantInit(&documentsValue);
        QCOMPARE(Invoke(application_, L"Documents", DISPATCH_PROPERTYGET, {}, false,
                        &documentsValue),
                 S_OK);
        QCOMPARE(documentsValue.vt, VARTYPE(VT_DISPATCH));
        Held<IDispatch> documents{documentsValue.pdispVal};

        VARIANT path;
        VariantInit(&path);
        path.vt = VT_BSTR;
        path.bstrVal = SysAllocString(L"C:\\windows\\win.ini");
        VARIANT document;
        VariantInit(&document);
        // In call order, as a careless client would pass them.
        QCOMPARE(Invoke(documents.pointer, L"Open", DISPATCH_METHOD, {path, Bool(VARIANT_FALSE)},
                        false, &document),
                 DISP_E_TYPEMISMATCH);
        QCOMPARE(fake_->journal().last(),
                 QStringLiteral("refuse Open: argument 1 is VT_BOOL, not VT_BSTR"));
        QCOMPARE(Invoke(documents.pointer, L"Open", DISPATCH_METHOD, {Bool(VARIANT_FALSE), path},
                        false, &document),
                 S_OK);
        QCOMPARE(fake_->journal().last(), QStringLiteral("create document"));
        VariantClear(&document);
        VariantClear(&path);
        QCOMPARE(fake_->journal().last(), QStringLiteral("release document"));
    }

private:
    QTemporaryDir scratch_;
    std::unique_ptr<FakeAutoCad> fake_;
    IDispatch* application_ = nullptr;
};

QTEST_GUILESS_MAIN(FakeAutoCadTest)
#include "test_fake_autocad.moc"
