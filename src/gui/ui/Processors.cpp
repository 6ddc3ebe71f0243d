#include "gui/ui/Processors.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace cw::gui::ui {

void moveToAnotherProcessor(std::thread::native_handle_type thread)
{
#if defined(__linux__)
    cpu_set_t allowed;
    const int here = sched_getcpu();
    if (here < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return;
    cpu_set_t others = allowed;
    CPU_CLR(here, &others);
    if (CPU_COUNT(&others) > 0)
        (void)pthread_setaffinity_np(thread, sizeof others, &others);
#else
    // Elsewhere the system's scheduler is left to place it.
    (void)thread;
#endif
}

} // namespace cw::gui::ui
