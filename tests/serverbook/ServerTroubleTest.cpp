// The server's troubles are told by its SQLSTATE, whatever language it
// speaks: a Polish server's deadlock is tried again like an English one's,
// and words that look like a deadlock under another code are not.
#include "book/ServerAddress.h"
#include "book/ServerBook.h"
#include "book/ServerTrouble.h"
#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

using book::ServerTrouble;

TEST(ServerTroubleOf, TellsTheTroubleBySqlstateAndBySideWordsOnlyWithoutOne)
{
    const struct {
        const char* what;
        const char* code;
        const char* words;
        ServerTrouble kind;
        bool again;
    } cases[] = {
        {"deadlock, Polish", "40P01", "BŁĄD:  wykryto zakleszczenie", ServerTrouble::Other, true},
        {"serialisation, Polish", "40001",
         "BŁĄD:  nie można serializować dostępu z powodu równoczesnej aktualizacji",
         ServerTrouble::Other, true},
        {"deadlock words, other code", "XX000", "ERROR:  deadlock detected", ServerTrouble::Other,
         false},
        {"administrator's shutdown, Polish", "57P01",
         "FATAL:  zakończenie połączenia na polecenie administratora", ServerTrouble::Lost, false},
        {"crash shutdown", "57P02", "FATAL:  zakończenie połączenia", ServerTrouble::Lost, false},
        {"server starting", "57P03", "FATAL:  system bazy danych jest uruchamiany",
         ServerTrouble::Lost, false},
        {"connection failure", "08006", "połączenie zerwane", ServerTrouble::Lost, false},
        {"statement timeout", "57014", "anulowano polecenie z powodu przekroczenia czasu",
         ServerTrouble::TimedOut, false},
        {"wrong password", "28P01", "uwierzytelnienie hasłem nie powiodło się",
         ServerTrouble::WrongLogin, false},
        {"no database", "3D000", "baza danych \"x\" nie istnieje", ServerTrouble::NoDatabase, false},
        {"disk full", "53100", "brak miejsca na urządzeniu", ServerTrouble::Other, false},
        // Without a code the words are libpq's, of this side.
        {"refused", "", "connection to server at \"127.0.0.1\", port 1 failed: Connection refused",
         ServerTrouble::Refused, false},
        {"line broken", "", "server closed the connection unexpectedly", ServerTrouble::Lost,
         false},
        {"no answer", "", "timeout expired", ServerTrouble::TimedOut, false},
        {"unknown host", "", "could not translate host name \"x\" to address",
         ServerTrouble::UnknownHost, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QSqlError error(QStringLiteral("QPSQL: Unable to execute"), QString::fromUtf8(c.words),
                              QSqlError::StatementError, QString::fromLatin1(c.code));
        EXPECT_EQ(book::ServerTroubleOf(error), c.kind);
        const book::ServerError told = book::ServerErrorOf(error);
        EXPECT_EQ(told.State(), QString::fromLatin1(c.code));
        EXPECT_EQ(book::WorthAnotherTry(told), c.again);
    }
}

// A body the server refuses with a code and Polish words a number of times
// over, in a real session: tried again or not, and nothing of a failed try
// left behind.
TEST_F(SharedBookTest, ATransactionIsTriedAgainByTheServersCodeNeverByItsWords)
{
    const struct {
        const char* what;
        const char* code;
        const char* words;
        int failures;
        bool done;
        int tries;
    } cases[] = {
        {"deadlock twice", "40P01", "wykryto zakleszczenie", 2, true, 3},
        {"serialisation failure every time", "40001", "nie można serializować dostępu", 9, false,
         3},
        {"deadlock's words under another code", "XX000",
         "deadlock detected; could not serialize access", 9, false, 1},
    };
    book::ServerBook server(*book::ParseServerUri(FullUri()));
    server.Run(QStringLiteral("CREATE TABLE proby (n INTEGER)"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        server.Run(QStringLiteral("DELETE FROM proby"));
        int tries = 0;
        bool done = true;
        try {
            server.Together([&] {
                ++tries;
                server.Run(QStringLiteral("INSERT INTO proby VALUES (1)"));
                if (tries <= c.failures)
                    server.Run(QStringLiteral("DO $$ BEGIN RAISE EXCEPTION '%1' USING ERRCODE = '%2'; "
                                              "END $$")
                                   .arg(QString::fromUtf8(c.words), QString::fromLatin1(c.code)));
            });
        } catch (const book::ServerError& error) {
            done = false;
            EXPECT_EQ(error.State(), QString::fromLatin1(c.code));
            EXPECT_TRUE(error.Reason().contains(QString::fromUtf8(c.words))) << error.Reason().toStdString();
        }
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(tries, c.tries);
        EXPECT_EQ(OnServer(QStringLiteral("SELECT count(*) FROM proby")), c.done ? 1 : 0);
    }
}

}  // namespace
}  // namespace varmo::test
