#pragma once

#include <string>
#include <string_view>

// The strings table as the strings editor shows it: one text whose lines are the
// file's lines. CR LF, a lone CR and a lone LF each end a line, as they do for the game
// and for text editors, so the editor shows every one of them as a line break and
// Save Changes writes CR LF for each.
namespace cw {

// The editor's text for a file's bytes: every line end becomes "\n"; nothing else
// changes.
std::string editorTextFromFile(std::string_view fileBytes);

// The bytes Save Changes writes for the editor's text (in the file's code page, line
// breaks as "\n"): each line break as CR LF, and a CR LF at the end when the text does
// not end with a line break, so that its last line is still read by the game.
// A CR the text may hold counts as a line break too, so no lone CR reaches the file.
std::string fileBytesFromEditorText(std::string_view editorText);

} // namespace cw
