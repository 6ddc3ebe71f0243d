#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace cw {

// A text that every copy shares: the rows of a script are copied whole for each undo
// step, and a line of megabytes must not be copied with them. A text is never changed
// in place; giving a holder another text gives it storage of its own.
class SharedText
{
public:
    SharedText() = default;
    SharedText(std::string text) // NOLINT(google-explicit-constructor): a text is a text
        : m_text(text.empty() ? nullptr : std::make_shared<std::string>(std::move(text)))
    {
    }
    SharedText(std::string_view text)
        : SharedText(std::string(text)) {} // NOLINT(google-explicit-constructor)
    SharedText(const char *text)
        : SharedText(std::string_view(text)) {} // NOLINT(google-explicit-constructor)

    const std::string &str() const { return m_text ? *m_text : none(); }
    operator const std::string &() const { return str(); } // NOLINT(google-explicit-constructor)
    operator std::string_view() const { return str(); }    // NOLINT(google-explicit-constructor)
    bool empty() const { return !m_text || m_text->empty(); }
    std::size_t size() const { return str().size(); }
    void clear() { m_text.reset(); }

    friend bool operator==(const SharedText &a, const SharedText &b)
    {
        return a.m_text == b.m_text || a.str() == b.str();
    }
    friend bool operator==(const SharedText &a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText &a, const std::string &b) { return a.str() == b; }
    friend bool operator==(const SharedText &a, const char *b) { return a.str() == b; }
    friend std::ostream &operator<<(std::ostream &out, const SharedText &text) { return out << text.str(); }

private:
    static const std::string &none()
    {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<std::string> m_text;
};

} // namespace cw
