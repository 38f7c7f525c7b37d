#pragma once
// What came of an operation that can fail: the value it gives, or a typed
// failure saying why it gave none. Every layer returns this one shape. The
// failure is a struct of the layer that decides it (storage's FileFailure,
// the rate file's RateFileError, kbt2-quote's UsageError) and becomes a
// message only where the user is told.

#include <type_traits>
#include <utility>
#include <variant>

namespace kbt2 {

// The value of an operation that has nothing to give back but that it
// worked.
struct Done {
    friend bool operator==(Done, Done) = default;
};

// There is no default: an outcome is made from the one or the other, so a
// failure can never pass for a success by being left empty. The two types
// differ, so `return Done{};` and `return FileFailure{...};` say which.
template <class Value, class Failure>
class [[nodiscard]] Outcome {
    static_assert(!std::is_same_v<Value, Failure>, "a failure is told from a value by its type");

public:
    Outcome(Value value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }

    // Asking for the side that is not there is the caller's mistake and
    // throws std::bad_variant_access.
    const Value& value() const& { return std::get<0>(state_); }
    Value& value() & { return std::get<0>(state_); }
    Value&& value() && { return std::get<0>(std::move(state_)); }
    const Failure& failure() const& { return std::get<1>(state_); }
    Failure& failure() & { return std::get<1>(state_); }
    Failure&& failure() && { return std::get<1>(std::move(state_)); }

private:
    std::variant<Value, Failure> state_;
};

}  // namespace kbt2
