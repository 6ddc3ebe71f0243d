#include "core/text/LineReader.h"

namespace cw {

bool LineReader::next(std::string_view &line)
{
    if (m_pos >= m_bytes.size())
        return false;
    const std::size_t cr = m_bytes.find('\r', m_pos);
    if (cr == std::string_view::npos) {
        line = m_bytes.substr(m_pos);
        m_pos = m_bytes.size();
        m_lineHadEnd = false;
    } else {
        line = m_bytes.substr(m_pos, cr - m_pos);
        m_pos = cr + 1;
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
            ++m_pos;
        m_lineHadEnd = true;
    }
    ++m_lineNumber;
    return true;
}

} // namespace cw
