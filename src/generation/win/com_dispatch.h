#pragma once
// Late-bound automation: members are looked up by name (GetIDsOfNames) and
// called through IDispatch::Invoke, the way a script drives the CAD host.
// Plain C++ on purpose; the Qt side only converts strings.
#include <memory>
#include <string>

struct IDispatch;

namespace generation::win {

// COM for the calling thread, initialised on first use (apartment threaded:
// the calls come from the user-interface thread).
void EnsureComInitialized();

class DispatchObject {
public:
    // Takes over one reference of dispatch.
    explicit DispatchObject(IDispatch* dispatch);
    ~DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // The running object registered for progId (GetActiveObject), or null.
    static std::unique_ptr<DispatchObject> AttachToRunning(const std::wstring& progId);
    // A new instance of progId (CoCreateInstance), or null.
    static std::unique_ptr<DispatchObject> CreateInstance(const std::wstring& progId);

    // object.name = value
    bool PutBoolProperty(const std::wstring& name, bool value);
    // object.name, an object; null on failure.
    std::unique_ptr<DispatchObject> GetObjectProperty(const std::wstring& name);
    // object.name(text, flag), an object; null on failure.
    std::unique_ptr<DispatchObject> CallWithTextAndBool(const std::wstring& name,
                                                        const std::wstring& text, bool flag);
    // object.name(text); false on failure.
    bool CallWithText(const std::wstring& name, const std::wstring& text);

private:
    IDispatch* dispatch_;
};

} // namespace generation::win
