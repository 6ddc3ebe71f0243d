#include "cli/Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cw::json {
namespace {

void appendNumber(std::string &out, std::optional<double> value)
{
    // JSON has no infinity or NaN.
    if (!value || !std::isfinite(*value)) {
        out += "null";
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, *value);
    out.append(text, result.ptr);
}

void appendThousandths(std::string &out, std::optional<long long> value)
{
    if (!value) {
        out += "null";
        return;
    }
    long long v = *value;
    char text[32];
    char *end = text;
    if (v < 0) {
        *end++ = '-';
        v = -v; // thousandths of any time or size are far from the lowest long long
    }
    end = std::to_chars(end, text + 24, v / 1000).ptr;
    // Three places at most, without trailing zeros.
    const auto rest = static_cast<int>(v % 1000);
    if (rest != 0) {
        const char places[] = {'.', static_cast<char>('0' + rest / 100),
                               static_cast<char>('0' + rest / 10 % 10), static_cast<char>('0' + rest % 10)};
        const int kept = rest % 100 == 0 ? 2 : rest % 10 == 0 ? 3 : 4;
        end = std::copy(places, places + kept, end);
    }
    out.append(text, static_cast<std::size_t>(end - text));
}

inline bool needsEscape(char c)
{
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

void appendQuoted(std::string &out, std::string_view utf8)
{
    out += '"';
    // Most text needs no escape: copy it in runs.
    for (std::size_t start = 0; start < utf8.size();) {
        const auto run = std::find_if(utf8.begin() + static_cast<std::ptrdiff_t>(start), utf8.end(),
                                      [](char c) { return needsEscape(c); });
        const auto end = static_cast<std::size_t>(run - utf8.begin());
        out.append(utf8.data() + start, end - start);
        if (end == utf8.size())
            break;
        switch (const char c = utf8[end]) {
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
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        }
        }
        start = end + 1;
    }
    out += '"';
}

} // namespace

std::string quote(std::string_view utf8)
{
    std::string out;
    appendQuoted(out, utf8);
    return out;
}

void Object::key(std::string_view name)
{
    if (m_out->size() > m_start + 1)
        *m_out += ", ";
    appendQuoted(*m_out, name);
    *m_out += ": ";
}

Object &Object::field(std::string_view name, std::string_view utf8Value)
{
    key(name);
    appendQuoted(*m_out, utf8Value);
    return *this;
}

Object &Object::field(std::string_view name, long long value)
{
    key(name);
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    m_out->append(text, result.ptr);
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<std::string> &utf8Values)
{
    key(name);
    *m_out += '[';
    for (std::size_t i = 0; i < utf8Values.size(); ++i) {
        if (i)
            *m_out += ", ";
        appendQuoted(*m_out, utf8Values[i]);
    }
    *m_out += ']';
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<int> &values)
{
    key(name);
    *m_out += '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        *m_out += (i ? ", " : "") + std::to_string(values[i]);
    *m_out += ']';
    return *this;
}

Object &Object::field(std::string_view name, bool value)
{
    key(name);
    *m_out += value ? "true" : "false";
    return *this;
}

Object &Object::field(std::string_view name, std::optional<double> value)
{
    key(name);
    appendNumber(*m_out, value);
    return *this;
}

Object &Object::field(std::string_view name, const std::vector<std::optional<double>> &values)
{
    key(name);
    *m_out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            *m_out += ", ";
        appendNumber(*m_out, values[i]);
    }
    *m_out += ']';
    return *this;
}

Object &Object::thousandths(std::string_view name, std::optional<long long> value)
{
    key(name);
    appendThousandths(*m_out, value);
    return *this;
}

Object &Object::thousandths(std::string_view name, const std::vector<std::optional<long long>> &values)
{
    key(name);
    *m_out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            *m_out += ", ";
        appendThousandths(*m_out, values[i]);
    }
    *m_out += ']';
    return *this;
}

} // namespace cw::json
