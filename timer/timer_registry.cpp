#include "timer/timer_registry.h"

namespace ts {

TimerRegistry& TimerRegistry::Instance() {
    static TimerRegistry registry;
    return registry;
}

}  // namespace ts
