#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The one place where the bytes of the game's files meet Qt's text: Windows-1252
// in both directions, losslessly, and file names to and from the operating system.
namespace cw::gui {

QString decode(std::string_view bytes);

// The bytes of `text`, or nothing when a character does not exist in the code page;
// then `firstBad` (when given) receives its position.
std::optional<std::string> encode(const QString &text, qsizetype *firstBad = nullptr);

QString displayName(const std::filesystem::path &path);
QString displayName(std::string_view fileName);
std::string fileNameFrom(const QString &text);

} // namespace cw::gui
