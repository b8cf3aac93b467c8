#pragma once
// Sets a variable for the life of the guard and puts back the value it had, on every way
// out: a dialog's "filling the controls" flag, the open dialog a message hook looks for.
#include <utility>

namespace vimbrel {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& variable, T value) : variable_(variable), previous_(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { variable_ = std::move(previous_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T previous_;
};

}  // namespace vimbrel
