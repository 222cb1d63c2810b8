// Storage for process-lifetime objects that are built once and never destroyed.
#pragma once

#include <memory>
#include <new>
#include <utility>

namespace vendrak {

// Holds one T built in place and never runs its destructor. Declared as a function-local static, it
// is built on first use (thread-safe) and stays valid while the process exits: libvlc's threads and
// other threads of the shell may still reach such objects after main has returned, when an ordinary
// static would already be destroyed. What T holds is never released, which is the point.
template <typename T>
class NeverDestroyed {
public:
    template <typename... Args>
    explicit NeverDestroyed(Args&&... args) {
        std::construct_at(reinterpret_cast<T*>(storage_), std::forward<Args>(args)...);
    }
    NeverDestroyed(const NeverDestroyed&) = delete;
    NeverDestroyed& operator=(const NeverDestroyed&) = delete;

    T& Get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

} // namespace vendrak
