#include "console/dialogs/ConsoleBook.h"

#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"

namespace varmo {

namespace {

const QString kCaption = QStringLiteral("Księga wizyt");

}  // namespace

ConsoleBook::ConsoleBook(QString path) : VisitRecorder(std::move(path), QStringLiteral("Varmo"))
{
    OnTrouble([](const QString& message) { CurrentPrompts().message(message, kCaption); });
    VisitRecorder::OnSyncChange([this](const book::SyncState& state) {
        Guarded([&] {
            if (listener_)
                listener_(state);
            // Once each: a wrong password is not a box every few minutes.
            if (state.trouble && book::SettingsTrouble(*state.trouble) && state.reason != serverTold_) {
                serverTold_ = state.reason;
                CurrentPrompts().message(QStringLiteral("Księga wizyt na serwerze: %1. Wizyty zostają "
                                                        "na tym komputerze. Ustawienia serwera: "
                                                        "„Ustawienia” → „Serwer księgi wizyt…”.")
                                             .arg(state.reason),
                                         kCaption);
            }
        });
    });
}

void ConsoleBook::OnSyncChange(std::function<void(const book::SyncState&)> listener)
{
    listener_ = std::move(listener);
}

void ConsoleBook::ServerChanged()
{
    QString why;
    const std::optional<book::ServerAddress> address = book::StoredServerAddress(&why);
    if (!why.isEmpty())
        CurrentPrompts().message(QStringLiteral("Księga wizyt: ") + why +
                                     QStringLiteral(" („Ustawienia” → „Serwer księgi wizyt…”)."),
                                 kCaption);
    serverTold_.clear();
    SetServer(address);
}

}  // namespace varmo
