// SPDX-License-Identifier: MIT
#pragma once
// The outcome of a late-bound call: its value, or why it failed. Plain C++ so
// that the automation layer stays free of Qt; com_cad_host turns a failure
// into base::Fail.
#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace generation::win {

struct CallFailure {
    long code = 0;             // the HRESULT
    std::wstring description;  // the host's own words, else the system's text for code
};

template <typename T>
class CallResult {
public:
    CallResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    CallResult(CallFailure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& value()
    {
        assert(state_.index() == 0);
        return std::get<0>(state_);
    }
    T& operator*() { return value(); }
    T* operator->() { return &value(); }
    const CallFailure& failure() const
    {
        assert(state_.index() == 1);
        return std::get<1>(state_);
    }

private:
    std::variant<T, CallFailure> state_;
};

template <>
class CallResult<void> {
public:
    CallResult() = default;
    CallResult(CallFailure failure) : failure_(std::move(failure)), failed_(true) {}

    explicit operator bool() const { return !failed_; }
    const CallFailure& failure() const
    {
        assert(failed_);
        return failure_;
    }

private:
    CallFailure failure_;
    bool failed_ = false;
};

using CallStatus = CallResult<void>;

} // namespace generation::win
