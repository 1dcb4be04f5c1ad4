// SPDX-License-Identifier: MIT
#include "com_activation.h"

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace generation::win {

namespace {

// What the activation thread and the caller share. The thread made the
// object in the multithreaded apartment and hands it over marshalled; it
// keeps that apartment alive until the caller has taken the object, or has
// given up on it.
struct Activation {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;        // the thread has its result
    bool finished = false;    // the caller took the result or gave up
    HRESULT result = E_FAIL;
    IStream* marshalled = nullptr;
};

void Activate(const std::shared_ptr<Activation>& activation, CLSID clsid)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IDispatch* dispatch = nullptr;
    HRESULT hr = FAILED(com) ? com
                             : CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                                reinterpret_cast<void**>(&dispatch));
    IStream* marshalled = nullptr;
    if (SUCCEEDED(hr) && dispatch != nullptr)
        hr = CoMarshalInterThreadInterfaceInStream(IID_IDispatch, dispatch, &marshalled);
    else if (SUCCEEDED(hr))
        hr = E_NOINTERFACE;
    if (dispatch != nullptr)
        dispatch->Release();
    std::unique_lock lock(activation->mutex);
    activation->result = hr;
    activation->marshalled = marshalled;
    activation->done = true;
    activation->changed.notify_all();
    activation->changed.wait(lock, [&] { return activation->finished; });
    // Not taken: the object goes with the apartment.
    if (activation->marshalled != nullptr) {
        CoReleaseMarshalData(activation->marshalled);
        activation->marshalled->Release();
        activation->marshalled = nullptr;
    }
    lock.unlock();
    if (SUCCEEDED(com))
        CoUninitialize();
}

} // namespace

CallResult<IDispatch*> ActivateLocalServer(const CLSID& clsid, const BusyWait& wait)
{
    auto activation = std::make_shared<Activation>();
    std::thread(Activate, activation, clsid).detach();
    std::unique_lock lock(activation->mutex);
    while (!activation->done) {
        if (!wait.pauseBeforeRetry) {
            activation->changed.wait(lock, [&] { return activation->done; });
            break;
        }
        lock.unlock();
        const bool more = wait.pauseBeforeRetry();
        lock.lock();
        if (!more && !activation->done) {
            activation->finished = true;  // given up: the thread cleans up
            activation->changed.notify_all();
            return CallFailure{RPC_E_TIMEOUT, L"The CAD host did not start in time"};
        }
    }
    IDispatch* dispatch = nullptr;
    HRESULT hr = activation->result;
    if (SUCCEEDED(hr)) {
        hr = CoGetInterfaceAndReleaseStream(activation->marshalled, IID_IDispatch,
                                            reinterpret_cast<void**>(&dispatch));
        activation->marshalled = nullptr;  // released by the call above
    }
    activation->finished = true;
    activation->changed.notify_all();
    if (FAILED(hr) || dispatch == nullptr)
        return CallFailure{FAILED(hr) ? hr : E_NOINTERFACE, {}};
    return dispatch;
}

} // namespace generation::win
