#include "book/Keychain.h"

#ifdef VARMO_KEYCHAIN
#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>
#endif

namespace varmo::book {

#ifdef VARMO_KEYCHAIN

namespace {

const QString kService = QStringLiteral("Varmo");

// A keychain that hangs (a locked keyring asking someone who is not there)
// is given this long.
constexpr int kKeychainWaitMs = 10000;

// The job run to its end; false when it did not end in time.
bool finished(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(kKeychainWaitMs, &loop, &QEventLoop::quit);
    job.start();
    if (!done)
        loop.exec();
    return done;
}

}  // namespace

bool KeychainWrite(const QString& name, const QString& secret, QString* why)
{
    QKeychain::WritePasswordJob job(kService);
    job.setKey(name);
    job.setTextData(secret);
    job.setInsecureFallback(false);
    if (finished(job) && job.error() == QKeychain::NoError)
        return true;
    if (why)
        *why = job.errorString();
    return false;
}

QString KeychainRead(const QString& name)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(name);
    job.setInsecureFallback(false);
    if (finished(job) && job.error() == QKeychain::NoError)
        return job.textData();
    return {};
}

#else

bool KeychainWrite(const QString&, const QString&, QString* why)
{
    if (why)
        *why = QStringLiteral("program zbudowano bez obsługi pęku kluczy");
    return false;
}

QString KeychainRead(const QString&)
{
    return {};
}

#endif

}  // namespace varmo::book
