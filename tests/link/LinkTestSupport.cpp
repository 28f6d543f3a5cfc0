#include "LinkTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

namespace varmo::testing {

PtyPair::PtyPair()
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

void PtyPair::WriteFromPrinter(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            throw std::runtime_error("write to the pseudo-terminal master failed");
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::ReadAtPrinter(std::size_t count, int quietMs)
{
    std::string got;
    while (got.size() < count) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN))
            break;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

void PtyPair::Vanish()
{
    ::close(master_);
    master_ = -1;
    ::close(slave_);
    slave_ = -1;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return done();
}

void PumpFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

ScopedEnv::ScopedEnv(const char* name, const QString& value) : name_(name)
{
    qputenv(name_.constData(), value.toLocal8Bit());
}

ScopedEnv::~ScopedEnv()
{
    qunsetenv(name_.constData());
}

QString& RunSettingsDir()
{
    static QString dir;
    return dir;
}

ScopedSettingsDir::ScopedSettingsDir()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

ScopedSettingsDir::~ScopedSettingsDir()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, RunSettingsDir());
}

QString ScopedSettingsDir::IniFile() const
{
    return dir_.path() + QStringLiteral("/Ferwen s.c./Varmo.ini");
}

}  // namespace varmo::testing
