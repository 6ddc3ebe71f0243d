#include "core/text/LineReader.h"

namespace cw {

bool LineReader::next(std::string_view &line)
{
    if (m_pos >= m_bytes.size())
        return false;
    const std::size_t stop =
        m_ends == LineEnds::Any ? m_bytes.find_first_of("\r\n", m_pos) : m_bytes.find('\r', m_pos);
    if (stop == std::string_view::npos) {
        line = m_bytes.substr(m_pos);
        m_pos = m_bytes.size();
        m_lineEnd = End::None;
    } else {
        line = m_bytes.substr(m_pos, stop - m_pos);
        m_pos = stop + 1;
        if (m_bytes[stop] == '\n') {
            m_lineEnd = End::Lf;
        } else if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\n') {
            ++m_pos;
            m_lineEnd = End::CrLf;
        } else {
            m_lineEnd = End::Cr;
        }
    }
    ++m_lineNumber;
    return true;
}

} // namespace cw
