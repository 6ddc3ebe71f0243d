#pragma once

namespace cw::gui {

// Marks the window busy for the length of one user request: a mod opening, a script
// load, a save. Requests that would start another one meanwhile are ignored.
class BusyScope
{
public:
    explicit BusyScope(bool &busy) : m_busy(busy), m_wasBusy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = m_wasBusy; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
    bool m_wasBusy;
};

} // namespace cw::gui
