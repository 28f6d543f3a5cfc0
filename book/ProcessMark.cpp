#include "book/ProcessMark.h"

#include <QCoreApplication>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace varmo::book {

namespace {

QString hostName()
{
    return QSysInfo::machineHostName();
}

bool running(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

}  // namespace

QString ThisProcessMark()
{
    return hostName() + QLatin1Char(':') + QString::number(QCoreApplication::applicationPid());
}

bool ProcessMarkAlive(const QString& mark)
{
    const qsizetype colon = mark.lastIndexOf(QLatin1Char(':'));
    bool number = false;
    const qint64 pid = mark.mid(colon + 1).toLongLong(&number);
    if (colon < 0 || !number || pid <= 0)
        return false;
    if (mark.left(colon) != hostName())
        return true;
    return pid == QCoreApplication::applicationPid() || running(pid);
}

}  // namespace varmo::book
