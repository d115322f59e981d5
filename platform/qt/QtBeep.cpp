#include "QtBeep.hpp"

#include <QApplication>

namespace quarnel {

void QtBeep::Sound() { QApplication::beep(); }

}  // namespace quarnel
