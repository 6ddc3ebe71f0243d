#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::json {

// A JSON string literal for UTF-8 text.
std::string quote(std::string_view utf8);

// Builds one JSON object on one line, fields in the order they are added: in a text of
// its own (str()), or at the end of a caller's text, for output of millions of lines.
class Object
{
public:
    Object() : m_out(&m_own), m_start(0) { m_own = "{"; }
    explicit Object(std::string &out) : m_out(&out), m_start(out.size()) { out += '{'; }
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    Object &field(std::string_view key, std::string_view utf8Value);
    Object &field(std::string_view key, const char *utf8Value)
    {
        return field(key, std::string_view(utf8Value));
    }
    Object &field(std::string_view key, long long value);
    Object &field(std::string_view key, int value) { return field(key, static_cast<long long>(value)); }
    Object &field(std::string_view key, const std::vector<std::string> &utf8Values);
    Object &field(std::string_view key, const std::vector<int> &values);
    Object &field(std::string_view key, bool value);
    // The shortest text that reads back as the same double; null when empty.
    Object &field(std::string_view key, std::optional<double> value);
    Object &field(std::string_view key, double value) { return field(key, std::optional<double>(value)); }
    Object &field(std::string_view key, const std::vector<std::optional<double>> &values);
    // A count of thousandths as a decimal of at most three places (1250 is 1.25); null
    // when empty. The same text as the double it stands for, without its rounding.
    Object &thousandths(std::string_view key, std::optional<long long> value);
    Object &thousandths(std::string_view key, const std::vector<std::optional<long long>> &values);

    // The object in a text of its own.
    std::string str() const { return m_own + "}"; }
    // Closes the object written at the end of the caller's text, and its line.
    void endLine() { *m_out += "}\n"; }

private:
    void key(std::string_view name);
    std::string m_own;
    std::string *m_out;
    std::size_t m_start;
};

} // namespace cw::json
