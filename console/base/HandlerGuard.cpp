#include "console/base/HandlerGuard.h"

#include <QList>

#include "console/base/Prompts.h"
#include "link/EComPort.h"

namespace varmo {

QString StandardErrorText(const QString& message)
{
    if (message.isEmpty())
        return message;
    // Compare whole characters, not halves of a surrogate pair.
    const char32_t last = message.toUcs4().constLast();
    return last > U'.' ? message + QLatin1Char('.') : message;
}

void ShowStandardError(const std::exception& error)
{
    CurrentPrompts().errorBox(StandardErrorText(QString::fromUtf8(error.what())));
}

bool Guarded(const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const EPortLost&) {
        // The loss of the port has its own box already; one is enough.
    } catch (const std::exception& error) {
        ShowStandardError(error);
    } catch (...) {
        // Not one of ours, but it must not take the console down either.
        CurrentPrompts().errorBox(StandardErrorText(QStringLiteral("Nieznany błąd")));
    }
    return false;
}

}  // namespace varmo
