#include "core/strings/StringsText.h"

#include "core/text/LineReader.h"

#include <algorithm>

namespace cw {
namespace {

// Reads the lines of `bytes` by the scripts' and strings' rule and joins them with
// `lineEnd`, ending the last line only when it was ended.
std::string joinLines(std::string_view bytes, std::string_view lineEnd, std::size_t size)
{
    std::string out;
    out.reserve(size);
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        out += line;
        if (reader.lineHadEnd())
            out += lineEnd;
    }
    return out;
}

} // namespace

std::string editorTextFromFile(std::string_view fileBytes)
{
    return joinLines(fileBytes, "\n", fileBytes.size());
}

std::string fileBytesFromEditorText(std::string_view editorText)
{
    const auto breaks = static_cast<std::size_t>(std::count(editorText.begin(), editorText.end(), '\n') +
                                                 std::count(editorText.begin(), editorText.end(), '\r'));
    std::string bytes = joinLines(editorText, "\r\n", editorText.size() + breaks + 2);
    // A text that ends with a line break is saved with that one line end; otherwise a
    // table would grow by an empty line with every open and save.
    if (!bytes.ends_with("\r\n"))
        bytes += "\r\n";
    return bytes;
}

} // namespace cw
