#include "book/BookSync.h"

#include <cstdlib>

#include "book/LocalOutbox.h"
#include "book/ServerBook.h"
#include "book/ServerCopy.h"
#include "book/ServerSend.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

QString minuteText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

void troubled(SyncState& state, const ServerError& error)
{
    state.trouble = error.Kind();
    state.reason = error.Reason();
}

}  // namespace

SyncState LocalState(VisitBook& local, bool serverSet)
{
    SyncState state;
    state.serverSet = serverSet;
    state.waiting = WaitingCount(local);
    state.lastContact = LastServerContact(local);
    return state;
}

SyncState SyncWithServer(VisitBook& local, const ServerAddress& address,
                         const SyncOptions& options)
{
    SyncState state = LocalState(local, true);
    try {
        ServerBook server(address, options.cut);
        state.reached = true;
        if (std::abs(server.ClockAheadS()) > kClockToleranceS)
            state.clockAheadS = server.ClockAheadS();
        state.readOnly = server.ReadOnly();
        if (server.ReadOnly()) {
            troubled(state, ServerError(ServerTrouble::Newer,
                                        QStringLiteral("księga na serwerze pochodzi z nowszej "
                                                       "wersji programu (układ %1, ten program "
                                                       "zna %2): tylko odczyt")
                                            .arg(server.Version())
                                            .arg(ServerBook::ServerSchemaVersion())));
        } else {
            const SendResult sent = SendWaiting(local, server, 250, options.stop);
            state.sent = sent.visits;
            if (sent.trouble)
                troubled(state, *sent.trouble);
        }
        if (options.copy && (!state.trouble || state.readOnly))
            state.copied = CopyFromServer(server, local, options.stop).visits;
        else if (!state.trouble)
            SetServerState(local, QStringLiteral("last_contact"),
                           BookTime(QDateTime::currentDateTime()));
    } catch (const ServerError& error) {
        troubled(state, error);
    }
    state.waiting = WaitingCount(local);
    state.lastContact = LastServerContact(local);
    return state;
}

namespace {

QString bookStateText(const SyncState& state, bool brief)
{
    if (!state.serverSet)
        return QStringLiteral("Księga: na tym komputerze");
    const QString waiting = QStringLiteral("do wysłania %1").arg(state.waiting);
    QString reason = state.reason;
    if (brief) {
        // "serwer odmawia połączenia (nic nie nasłuchuje…)": "odmawia połączenia".
        reason = reason.section(QStringLiteral(" ("), 0, 0);
        if (reason.startsWith(QStringLiteral("serwer ")))
            reason = reason.mid(7);
    }
    if (state.readOnly)
        return QStringLiteral("Księga: serwer tylko do odczytu (%1), %2").arg(reason, waiting);
    if (state.trouble)
        return QStringLiteral("Księga: serwer niedostępny (%1), %2").arg(reason, waiting);
    if (state.waiting == 0 && state.reached)
        return QStringLiteral("Księga: wysłano na serwer");
    return QStringLiteral("Księga: ") + waiting;
}

}  // namespace

QString ClockText(qint64 aheadS, bool brief)
{
    const qint64 off = std::abs(aheadS);
    const auto polish = [](qint64 n, const char* one, const char* few, const char* many) {
        const qint64 tens = n % 100;
        const char* word = n == 1 ? one
                           : (n % 10 >= 2 && n % 10 <= 4 && (tens < 12 || tens > 14)) ? few
                                                                                       : many;
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
    };
    // Whole units, a hundredth of one given: a clock measured a second
    // short of a day is a day off.
    const auto whole = [off](qint64 unit) { return (off + unit / 100) / unit; };
    QString amount;
    if (whole(86400) >= 1)
        amount = polish(whole(86400), "dzień", "dni", "dni");
    else if (whole(3600) >= 1)
        amount = polish(whole(3600), "godzinę", "godziny", "godzin");
    else if (whole(60) >= 1)
        amount = polish(whole(60), "minutę", "minuty", "minut");
    else
        amount = polish(off, "sekundę", "sekundy", "sekund");
    const QString way = aheadS >= 0 ? QStringLiteral("spieszy się") : QStringLiteral("spóźnia się");
    if (brief)
        return QStringLiteral("zegar %1 o %2").arg(way, amount);
    return QStringLiteral("zegar komputera %1 o %2 względem serwera").arg(way, amount);
}

QString BookStateText(const SyncState& state, bool brief)
{
    QString text = bookStateText(state, brief);
    if (state.clockAheadS)
        text += QStringLiteral("; ") + ClockText(*state.clockAheadS, brief);
    return text;
}

QString SourceText(const SyncState& state)
{
    if (!state.serverSet)
        return QStringLiteral("dane z tego komputera");
    const QString when = state.lastContact.isValid()
                             ? QStringLiteral("stan z ") + minuteText(state.lastContact)
                             : QStringLiteral("serwer nie odpowiedział ani razu");
    if (state.reached && (!state.trouble || state.readOnly))
        return QStringLiteral("serwer: dane z serwera, ") + when;
    return QStringLiteral("serwer: niedostępny, dane z tego komputera, ") + when;
}

}  // namespace varmo::book
