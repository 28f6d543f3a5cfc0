#include "console/dialogs/settings/BookServerDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "book/Book.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/MainServices.h"
#include "console/widgets/ObjectNames.h"

namespace varmo {

namespace {

const QStringList kSslModes = {QString(), QStringLiteral("disable"), QStringLiteral("prefer"),
                               QStringLiteral("require"), QStringLiteral("verify-ca"),
                               QStringLiteral("verify-full")};

}  // namespace

BookServerDialog::BookServerDialog(MainServices& main) : QDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Księga wizyt na serwerze"));
    setObjectName(QStringLiteral("BookServer"));
    Adres = Named(new QLineEdit(this), "Adres");
    Adres->setPlaceholderText(QStringLiteral("postgresql://użytkownik@serwer:5432/baza"));
    Serwer = Named(new QLineEdit(this), "Serwer");
    Port = Named(new QLineEdit(this), "Port");
    Port->setValidator(new QIntValidator(1, 65535, Port));
    Port->setPlaceholderText(QStringLiteral("5432"));
    Baza = Named(new QLineEdit(this), "Baza");
    Uzytkownik = Named(new QLineEdit(this), "Uzytkownik");
    Haslo = Named(new QLineEdit(this), "Haslo");
    Haslo->setEchoMode(QLineEdit::Password);
    Szyfrowanie = Named(new QComboBox(this), "Szyfrowanie");
    Szyfrowanie->addItems({QStringLiteral("(domyślne)"), QStringLiteral("disable"),
                           QStringLiteral("prefer"), QStringLiteral("require"),
                           QStringLiteral("verify-ca"), QStringLiteral("verify-full")});
    OK = Named(new QPushButton(QStringLiteral("OK"), this), "OK");
    Anuluj = Named(new QPushButton(QStringLiteral("Anuluj"), this), "Anuluj");
    connect(OK, &QPushButton::clicked, this, [this] { Guarded([&] { OKClick(); }); });
    connect(Anuluj, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Adres:"), Adres);
    form->addRow(new QLabel(QStringLiteral("albo osobno:"), this));
    form->addRow(QStringLiteral("Serwer:"), Serwer);
    form->addRow(QStringLiteral("Port:"), Port);
    form->addRow(QStringLiteral("Baza danych:"), Baza);
    form->addRow(QStringLiteral("Użytkownik:"), Uzytkownik);
    form->addRow(QStringLiteral("Hasło:"), Haslo);
    form->addRow(QStringLiteral("Szyfrowanie (sslmode):"), Szyfrowanie);
    auto* note = new QLabel(QStringLiteral("Puste pola serwera i adresu: księga tylko na tym komputerze."), this);
    note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Anuluj);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(520, 300);
}

void BookServerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([&] {
        const book::StoredServerFields fields = book::ReadServerFields();
        Adres->setText(fields.uri);
        Serwer->setText(fields.host);
        Port->setText(fields.port);
        Baza->setText(fields.database);
        Uzytkownik->setText(fields.user);
        // The password is never shown again; empty leaves the kept one.
        Haslo->clear();
        const std::optional<book::ServerAddress> kept = book::StoredServerAddress();
        Haslo->setPlaceholderText(kept && !kept->password.isEmpty()
                                      ? QStringLiteral("(zapisane; puste: bez zmian)")
                                      : QString());
        Szyfrowanie->setCurrentIndex(static_cast<int>(std::max<qsizetype>(0, kSslModes.indexOf(fields.sslMode))));
    });
}

void BookServerDialog::OKClick()
{
    book::StoredServerFields fields;
    fields.uri = Adres->text().trimmed();
    fields.host = Serwer->text().trimmed();
    fields.port = Port->text().trimmed();
    fields.database = Baza->text().trimmed();
    fields.user = Uzytkownik->text().trimmed();
    fields.sslMode = kSslModes.value(Szyfrowanie->currentIndex());
    QString why;
    const std::optional<book::ServerAddress> typed =
        fields.uri.isEmpty() ? std::nullopt : book::ParseServerUri(fields.uri, &why);
    if (!fields.uri.isEmpty() && !typed) {
        CurrentPrompts().errorBox(QStringLiteral("Księga wizyt: ") + why);
        return;
    }
    if (fields.uri.isEmpty() && !fields.host.isEmpty() && fields.database.isEmpty()) {
        CurrentPrompts().errorBox(QStringLiteral("Księga wizyt: podaj nazwę bazy danych"));
        return;
    }
    // The settings keep the address alone; a password typed into it goes
    // where passwords are kept, as one typed into its own field does.
    QString password = Haslo->text();
    if (typed && !typed->password.isEmpty()) {
        password = typed->password;
        fields.uri = book::AddressWithoutPassword(fields.uri);
    }
    book::WriteServerFields(fields);
#ifdef Q_OS_WIN
    const bool keep = true;  // the settings keep it, as they always have
#else
    const bool keep = !password.isEmpty();
#endif
    const std::optional<book::ServerAddress> address = book::AddressOfFields(fields);
    if (keep && address) {
        const book::SecretStored stored = book::StoreServerPassword(*address, password);
        if (!stored.ok)
            CurrentPrompts().errorBox(QStringLiteral("Księga wizyt: hasła nie zapisano: ") + stored.why);
        else if (stored.place != book::SecretPlace::Settings)
            CurrentPrompts().message(QStringLiteral("Hasło do serwera księgi zapisano ") + stored.where +
                                         QStringLiteral("."),
                                     QStringLiteral("Księga wizyt"));
    }
    main_.Book().ServerChanged();
    accept();
}

}  // namespace varmo
