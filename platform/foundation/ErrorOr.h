// The outcome of an operation that can fail: its result, or the error value (domain, code,
// readable description) that says why there is none. Our own functions report failure
// this way; functions that stand for the platform's keep its shape (an NSError out
// pointer). ErrorOr<void> is the outcome of an operation without a result.
//
//     ErrorOr<CGImageRef> decoded = PNGCodec::decode(bytes, size);
//     if (decoded.hasError()) {
//         return decoded.error();          // hands the same error on
//     }
//     use(decoded.value());
#pragma once

#include "platform/foundation/NSError.h"

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

// An error of `domain` and `code` whose localized description is `description`.
std::shared_ptr<NSError> makeError(std::string domain, long code, std::string description);

// Ends the program: the value of an outcome that holds an error was asked for.
[[noreturn]] void ErrorOrValueOfError(const std::shared_ptr<NSError>& error);

template <class T> class [[nodiscard]] ErrorOr {
    static_assert(!std::is_reference_v<T> && !std::is_same_v<T, std::shared_ptr<NSError>>,
                  "an ErrorOr holds a value or an error, and must tell them apart");

public:
    ErrorOr(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
    // `error` must not be null.
    ErrorOr(std::shared_ptr<NSError> error) : outcome_(std::in_place_index<1>, std::move(error)) {}

    bool hasError() const { return outcome_.index() == 1; }
    // The error; null when there is a value.
    const std::shared_ptr<NSError>& error() const {
        static const std::shared_ptr<NSError> none;
        return hasError() ? std::get<1>(outcome_) : none;
    }
    // The value; asking for it when there is an error ends the program.
    T& value() & {
        check();
        return std::get<0>(outcome_);
    }
    const T& value() const& {
        check();
        return std::get<0>(outcome_);
    }
    // On a temporary the value is moved out, so `decode(...).value()` holds no dangling
    // reference.
    T value() && {
        check();
        return std::move(std::get<0>(outcome_));
    }

private:
    void check() const {
        if (hasError()) {
            ErrorOrValueOfError(std::get<1>(outcome_));
        }
    }

    std::variant<T, std::shared_ptr<NSError>> outcome_;
};

template <> class [[nodiscard]] ErrorOr<void> {
public:
    ErrorOr() = default;
    // `error` must not be null.
    ErrorOr(std::shared_ptr<NSError> error) : error_(std::move(error)) {}

    bool hasError() const { return error_ != nullptr; }
    // The error; null after success.
    const std::shared_ptr<NSError>& error() const { return error_; }

private:
    std::shared_ptr<NSError> error_;
};
