#include "cli/ServerChoice.h"

#include "cli/Failure.h"
#include "cli/Output.h"

namespace varmo::cli {

namespace {

const char* const kPasswordRefused =
    "--book-server: adres zawiera hasło, a hasła nie podaje się w wierszu poleceń: każdy "
    "użytkownik tego komputera widzi je w \"ps\", a powłoka zostawia je w swojej historii. "
    "Podaj adres bez hasła (postgresql://użytkownik@serwer:port/baza), a hasło: w zmiennej "
    "PGPASSWORD, w pliku haseł ~/.pgpass (prawa 0600, wiersz serwer:port:baza:użytkownik:hasło) "
    "albo zapisz je raz poleceniem \"varmo-cli --book-server ADRES book password\" (czyta je "
    "z terminala bez echa albo ze standardowego wejścia)";

}  // namespace

std::optional<book::ServerAddress> ChosenServer(const std::optional<std::string>& uri,
                                                std::ostream& err)
{
    QString why;
    if (uri) {
        const QString text = QString::fromStdString(*uri);
        if (book::AddressHoldsPassword(text))
            throw UsageError(kPasswordRefused);
        std::optional<book::ServerAddress> address = book::ParseServerUri(text, &why);
        if (!address)
            throw UsageError("--book-server: " + why.toStdString());
        return book::WithSavedPassword(*address);
    }
    std::optional<book::ServerAddress> stored = book::StoredServerAddress(&why);
    if (!stored && !why.isEmpty())
        err << "varmo-cli: " << TerminalText(why.toStdString()) << std::endl;
    return stored;
}

std::string SyncLine(const book::ServerAddress& server, const book::SyncState& state)
{
    const std::string where = "Księga na serwerze (" + server.Display().toStdString() + ")";
    if (state.trouble && !state.readOnly)
        return TerminalText(where + ": nie wysłano: " + state.reason.toStdString() +
                            "; wizyty zostają na tym komputerze, do wysłania " +
                            std::to_string(state.waiting));
    if (state.readOnly)
        return TerminalText(where + ": " + state.reason.toStdString() +
                            "; wizyty zostają na tym komputerze, do wysłania " +
                            std::to_string(state.waiting));
    return TerminalText(where + ": wysłano wizyt " + std::to_string(state.sent) +
                        ", do wysłania " + std::to_string(state.waiting));
}

void TellClock(const book::SyncState& state, std::ostream& err)
{
    if (state.clockAheadS)
        err << "varmo-cli: " << TerminalText(book::ClockText(*state.clockAheadS).toStdString())
            << std::endl;
}

QJsonObject SyncJson(const book::ServerAddress& server, const book::SyncState& state)
{
    return QJsonObject{
        {QStringLiteral("server"), server.Display()},
        {QStringLiteral("reached"), state.reached},
        {QStringLiteral("readOnly"), state.readOnly},
        {QStringLiteral("sent"), state.sent},
        {QStringLiteral("copied"), state.copied},
        {QStringLiteral("waiting"), state.waiting},
        {QStringLiteral("problem"), state.trouble ? QJsonValue(state.reason) : QJsonValue()},
        {QStringLiteral("clockAheadSeconds"),
         state.clockAheadS ? QJsonValue(static_cast<double>(*state.clockAheadS)) : QJsonValue()},
        {QStringLiteral("lastContact"), state.lastContact.isValid()
                                            ? QJsonValue(state.lastContact.toString(Qt::ISODate))
                                            : QJsonValue()}};
}

}  // namespace varmo::cli
