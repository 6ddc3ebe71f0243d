#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::json {

// A JSON string literal for UTF-8 text.
std::string quote(std::string_view utf8);

// Builds one JSON object on one line, fields in the order they are added.
class Object
{
public:
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

    std::string str() const { return m_text + "}"; }

private:
    void key(std::string_view name);
    std::string m_text = "{";
};

} // namespace cw::json
