#include "cli/BookPassword.h"

#include <QJsonObject>

#include "cli/Failure.h"
#include "cli/Output.h"
#include "cli/SecretInput.h"

namespace varmo::cli {

int StoreBookPassword(const std::optional<book::ServerAddress>& server, bool json,
                      std::ostream& out)
{
    if (!server)
        throw UsageError("book password: nie ustawiono serwera księgi (--book-server URI albo "
                         "\"Ustawienia\" → \"Księga wizyt…\")");
    const std::string display = server->Display().toStdString();
    const std::optional<std::string> line =
        ReadSecretLine("Hasło do " + TerminalText(display) + ": ");
    if (!line || line->empty())
        throw UsageError("book password: nie podano hasła");
    const book::SecretStored stored =
        book::StoreServerPassword(*server, QString::fromStdString(*line));
    if (!stored.ok)
        throw CliFailure(ExitCode::Refused, "book password: " + stored.why.toStdString());
    if (json)
        out << JsonLine(QJsonObject{{QStringLiteral("server"), server->Display()},
                                    {QStringLiteral("kept"), stored.where}})
            << '\n';
    else
        out << TerminalText("Hasło do " + display + " zapisano " + stored.where.toStdString())
            << '\n';
    return 0;
}

}  // namespace varmo::cli
