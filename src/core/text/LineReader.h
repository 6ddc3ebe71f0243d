#pragma once

#include <cstddef>
#include <string_view>

namespace cw {

// Reads lines the way the editor's files are read: a line ends at CR or at CR LF, a
// lone LF is an ordinary byte inside the line, and the last line needs no line end.
// A file that ends with a line end has no empty line after it.
class LineReader
{
public:
    explicit LineReader(std::string_view bytes) : m_bytes(bytes) {}

    // The next line without its line end; false once every line has been read.
    bool next(std::string_view &line);

    // 1-based number of the line last returned by next().
    int lineNumber() const { return m_lineNumber; }
    // Whether the line last returned by next() ended with CR or CR LF.
    bool lineHadEnd() const { return m_lineHadEnd; }
    // Offset of the first byte after the line last returned (and its line end).
    std::size_t position() const { return m_pos; }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
    bool m_lineHadEnd = false;
};

} // namespace cw
