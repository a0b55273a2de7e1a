// Which object owns which system timer id. Pure: no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

namespace ts {

class Timer;

// Module-wide: one entry per running timer, removed before its object can go away.
class TimerRegistry {
public:
    static TimerRegistry& Instance();
    void Add(std::uintptr_t id, Timer* owner) { owners_[id] = owner; }
    void Remove(std::uintptr_t id) { owners_.erase(id); }
    // nullptr for an id without an entry: such a tick is dropped.
    Timer* Find(std::uintptr_t id) const {
        auto it = owners_.find(id);
        return it == owners_.end() ? nullptr : it->second;
    }
    std::size_t Size() const { return owners_.size(); }

private:
    std::map<std::uintptr_t, Timer*> owners_;
};

}  // namespace ts
