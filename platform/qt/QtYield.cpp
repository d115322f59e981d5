#include "QtYield.hpp"

#include <QCoreApplication>

namespace quarnel {

void QtYield::YieldOnce() {
    constexpr std::chrono::milliseconds cLeastBetween{4};
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < cLeastBetween) return;
    QCoreApplication::processEvents();
    last_ = std::chrono::steady_clock::now();
}

}  // namespace quarnel
