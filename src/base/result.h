// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <cassert>
#include <type_traits>
#include <utility>
#include <variant>

namespace base {

// The reason an operation failed, in words fit to show the user.
struct Failure {
    QString reason;
};

inline Failure Fail(QString reason)
{
    return Failure{std::move(reason)};
}

// The outcome of an operation that can fail: its value, or why it failed.
// Every fallible operation of the program answers with one, and callers test
// it the same way everywhere: `if (!copied) show(copied.error());`.
// E is the failure's type; most operations fail with a plain reason.
template <typename T, typename E = Failure>
class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(E failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const
    {
        assert(ok());
        return std::get<0>(state_);
    }
    T& value()
    {
        assert(ok());
        return std::get<0>(state_);
    }
    T valueOr(T otherwise) const { return ok() ? value() : std::move(otherwise); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }

    const E& failure() const
    {
        assert(!ok());
        return std::get<1>(state_);
    }
    // The reason of a failure; empty when it succeeded.
    QString error() const
        requires std::is_same_v<E, Failure>
    {
        return ok() ? QString() : failure().reason;
    }

private:
    std::variant<T, E> state_;
};

// An operation that yields nothing but can fail.
template <typename E>
class Result<void, E> {
public:
    Result() = default;
    Result(E failure) : failure_(std::move(failure)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const E& failure() const
    {
        assert(failed_);
        return failure_;
    }
    // The reason of a failure; empty when it succeeded.
    QString error() const
        requires std::is_same_v<E, Failure>
    {
        return failure_.reason;
    }

private:
    E failure_{};
    bool failed_ = false;
};

using Status = Result<void>;

} // namespace base
