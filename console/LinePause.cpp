#include "console/LinePause.h"

#include <QEventLoop>
#include <QTimer>

namespace varmo {

void LinePause(int ms, OperatorInput input)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec(input == OperatorInput::HeldOff ? QEventLoop::ExcludeUserInputEvents
                                              : QEventLoop::AllEvents);
}

}  // namespace varmo
