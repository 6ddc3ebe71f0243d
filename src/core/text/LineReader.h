#pragma once

#include <cstddef>
#include <string_view>

namespace cw {

// How a kind of file ends its lines.
enum class LineEnds {
    // commands.txt, the editor's own file: a line ends at CR or at CR LF; a lone LF is
    // an ordinary byte inside the line.
    CrOrCrLf,
    // Scripts and strings tables, which the game ends at LF and Linux editors write
    // with LF: CR LF, a lone CR and a lone LF all end a line.
    Any,
};

// Reads lines by one of the rules above. The last line needs no line end, and a file
// that ends with a line end has no empty line after it.
class LineReader
{
public:
    enum class End { None, CrLf, Cr, Lf };

    LineReader(std::string_view bytes, LineEnds ends) : m_bytes(bytes), m_ends(ends) {}

    // The next line without its line end; false once every line has been read.
    bool next(std::string_view &line);

    // 1-based number of the line last returned by next().
    int lineNumber() const { return m_lineNumber; }
    // How the line last returned by next() ended.
    End lineEnd() const { return m_lineEnd; }
    bool lineHadEnd() const { return m_lineEnd != End::None; }
    // Offset of the first byte after the line last returned (and its line end).
    std::size_t position() const { return m_pos; }
    // Whether every line has been read.
    bool atEnd() const { return m_pos >= m_bytes.size(); }

private:
    std::string_view m_bytes;
    LineEnds m_ends;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
    End m_lineEnd = End::None;
};

} // namespace cw
