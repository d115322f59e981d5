#include "QtBeep.hpp"

#include <QApplication>

namespace quarnel {

void QtBeep::beep() { QApplication::beep(); }

}  // namespace quarnel
