#include "QtYield.hpp"

#include <QCoreApplication>

namespace quarnel {

void QtYield::YieldOnce() { QCoreApplication::processEvents(); }

}  // namespace quarnel
