#include "QtYield.hpp"

#include <QCoreApplication>

namespace quarnel {

void QtYield::yieldOnce() { QCoreApplication::processEvents(); }

}  // namespace quarnel
