#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace cw::json {
namespace {

std::string number(std::optional<double> value)
{
    // JSON has no infinity or NaN.
    if (!value || !std::isfinite(*value))
        return "null";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, *value);
    return std::string(text, result.ptr);
}

} // namespace

std::string quote(std::string_view utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void Object::key(std::string_view name)
{
    if (m_text.size() > 1)
        m_text += ", ";
    m_text += quote(name);
    m_text += ": ";
}

Object &Object::field(std::string_view name, std::string_view utf8Value)
{
    key(name);
    m_text += quote(utf8Value);
    return *this;
}

Object &Object::field(std::string_view name, long long value)
{
    key(name);
    m_text += std::to_string(value);
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<std::string> &utf8Values)
{
    key(name);
    m_text += '[';
    for (std::size_t i = 0; i < utf8Values.size(); ++i)
        m_text += (i ? ", " : "") + quote(utf8Values[i]);
    m_text += ']';
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<int> &values)
{
    key(name);
    m_text += '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        m_text += (i ? ", " : "") + std::to_string(values[i]);
    m_text += ']';
    return *this;
}

Object &Object::field(std::string_view name, bool value)
{
    key(name);
    m_text += value ? "true" : "false";
    return *this;
}

Object &Object::field(std::string_view name, std::optional<double> value)
{
    key(name);
    m_text += number(value);
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<std::optional<double>> &values)
{
    key(name);
    m_text += '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        m_text += (i ? ", " : "") + number(values[i]);
    m_text += ']';
    return *this;
}

} // namespace cw::json
