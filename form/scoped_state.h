#pragma once

#include "form/form_controls.h"

#include <utility>

namespace ordinalette::form {

// Gives a variable a value while it lives; the value before comes back when it goes, also when
// an error ends the scope.
template <typename T> class ValueRollback {
public:
    ValueRollback(T& variable, T value)
        : m_variable(variable), m_saved(std::exchange(variable, std::move(value))) {}
    ~ValueRollback() { m_variable = std::move(m_saved); }
    ValueRollback(const ValueRollback&) = delete;
    ValueRollback& operator=(const ValueRollback&) = delete;

private:
    T& m_variable;
    T m_saved;
};

// The window says it is busy while this lives, for work that takes no input.
class BusyWindow {
public:
    explicit BusyWindow(FormControls& controls) : m_controls(controls) { m_controls.setBusy(true); }
    ~BusyWindow() { m_controls.setBusy(false); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    FormControls& m_controls;
};

} // namespace ordinalette::form
