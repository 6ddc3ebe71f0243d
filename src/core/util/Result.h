#pragma once

#include <cassert>
#include <utility>
#include <variant>

namespace cw {

// A value or the reason there is none. std::expected would do, but clang 14 (our
// fuzzing compiler) cannot use libstdc++'s <expected>, so this is the small subset
// the program needs. A dropped Result is a failure nobody looked at, so the compiler
// refuses one.
template<class T, class E> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T &value() &
    {
        assert(ok());
        return std::get<0>(m_state);
    }
    const T &value() const &
    {
        assert(ok());
        return std::get<0>(m_state);
    }
    T &&value() &&
    {
        assert(ok());
        return std::get<0>(std::move(m_state));
    }
    const E &error() const
    {
        assert(!ok());
        return std::get<1>(m_state);
    }

    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() & { return value(); }
    const T &operator*() const & { return value(); }

private:
    std::variant<T, E> m_state;
};

} // namespace cw
