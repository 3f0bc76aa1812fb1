#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Lets the windows repaint for the given time, processing their events meanwhile.
    virtual void waitProcessingEvents(int milliseconds) = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void waitProcessingEvents(int milliseconds) override
    {
        // An elapsed-time clock: a change of the wall clock meanwhile does not stretch it.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, int(milliseconds - timer.elapsed()));
    }
};
