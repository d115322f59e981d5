// How the drop's threads are started, so that a test can refuse them as a system would.
#pragma once

#include <functional>
#include <thread>

namespace quarnel {

// Starts a thread running work; throws std::system_error when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

inline std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

}  // namespace quarnel
