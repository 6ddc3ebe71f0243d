#pragma once

namespace cw::gui::ui {

// One user request at a time: a request that would start while another runs (a load, a
// save, a mod opening; a key pressed in a question box that the request shows) is
// ignored, so that no request acts on a state another has half changed.
class Busy
{
public:
    template<class Request> void whenIdle(Request request)
    {
        if (m_busy)
            return;
        m_busy = true;
        struct Done
        {
            bool &busy;
            ~Done() { busy = false; }
        } done{m_busy};
        request();
    }
    bool isBusy() const { return m_busy; }

private:
    bool m_busy = false;
};

} // namespace cw::gui::ui
