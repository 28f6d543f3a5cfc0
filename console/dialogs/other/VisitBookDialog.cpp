#include "console/dialogs/other/VisitBookDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "book/Book.h"
#include "console/base/HandlerGuard.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/MainServices.h"
#include "console/dialogs/other/BookCells.h"
#include "console/dialogs/other/BookSource.h"
#include "console/widgets/ObjectNames.h"

namespace varmo {

namespace {

QTableWidget* table(QWidget* parent, const char* name, const QStringList& columns)
{
    auto* view = Named(new QTableWidget(0, static_cast<int>(columns.size()), parent), name);
    view->setHorizontalHeaderLabels(columns);
    view->verticalHeader()->hide();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setStretchLastSection(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    return view;
}

// The visit as the technician reads it: who, when, each check's steps, the
// settings the printer took, the files written.
QString visitText(const book::VisitDetail& detail)
{
    const book::VisitRow& v = detail.visit;
    QStringList lines = {
        QStringLiteral("Drukarka: %1").arg(v.uniqueNumber),
        QStringLiteral("Od: %1  do: %2").arg(BookDateText(v.started),
                                              v.ended.isValid() ? BookDateText(v.ended) : QStringLiteral("(trwa)")),
        QStringLiteral("Technik: %1").arg(v.technician), QStringLiteral("Port: %1").arg(v.port),
        QStringLiteral("Program: %1").arg(v.program), QStringLiteral("Uwagi: %1").arg(v.notes)};
    for (const book::CheckRecord& check : detail.checks) {
        lines << QString() << QStringLiteral("Przegląd %1").arg(BookDateText(check.values.made));
        for (const QJsonValue& step : QJsonDocument::fromJson(check.stepsJson.toUtf8()).array()) {
            const QJsonObject object = step.toObject();
            lines << QStringLiteral("  ") + object[QStringLiteral("name")].toString();
            for (const QJsonValue& row : object[QStringLiteral("result")].toArray())
                lines << QStringLiteral("    ") + row.toString();
        }
        for (const QString& note : check.attention)
            lines << QStringLiteral("  ! ") + note;
    }
    for (const book::SettingRecord& setting : detail.settings)
        lines << QStringLiteral("Ustawiono %1: %2 %3").arg(BookDateText(setting.made), setting.what, setting.detail);
    for (const QString& file : detail.files)
        lines << QStringLiteral("Plik: ") + file;
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

VisitBookDialog::VisitBookDialog(MainServices& main) : QDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Księga wizyt"));
    setObjectName(QStringLiteral("VisitBook"));
    Szukaj = Named(new QLineEdit(this), "Szukaj");
    Szukaj->setPlaceholderText(QStringLiteral("numer, NIP lub nagłówek (bez polskich liter też)"));
    Szukaj->setClearButtonEnabled(true);
    Drukarki = table(this, "Drukarki", PrinterColumns());
    Wizyty = table(this, "Wizyty",
                   {QStringLiteral("Początek"), QStringLiteral("Koniec"), QStringLiteral("Technik"),
                    QStringLiteral("Port"), QStringLiteral("Przeglądy"), QStringLiteral("Ustawienia")});
    Wizyty->sortByColumn(0, Qt::DescendingOrder);  // the newest visit first
    Wizyta = Named(new QPlainTextEdit(this), "Wizyta");
    Wizyta->setReadOnly(true);
    Zamknij = Named(new QPushButton(QStringLiteral("Zamknij"), this), "Zamknij");
    Zrodlo = Named(new QLabel(this), "Zrodlo");
    Zrodlo->hide();
    source_ = std::make_unique<BookSource>(main.Book(), Zrodlo, this, [this] { SzukajChange(); });
    connect(Szukaj, &QLineEdit::textChanged, this, [this] { Guarded([&] { SzukajChange(); }); });
    connect(Drukarki, &QTableWidget::itemSelectionChanged, this, [this] { Guarded([&] { DrukarkiClick(); }); });
    connect(Wizyty, &QTableWidget::itemSelectionChanged, this, [this] { Guarded([&] { WizytyClick(); }); });
    connect(Zamknij, &QPushButton::clicked, this, &QDialog::reject);

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Szukaj:"), this));
    search->addWidget(Szukaj);
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(Wizyty);
    lower->addWidget(Wizyta);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Drukarki);
    split->addWidget(lower);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Zamknij);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(split);
    layout->addWidget(Zrodlo);
    layout->addLayout(buttons);
    resize(900, 620);
}

VisitBookDialog::~VisitBookDialog() = default;

void VisitBookDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([&] {
        SzukajChange();
        source_->Shown();
    });
}

void VisitBookDialog::SzukajChange()
{
    Drukarki->setSortingEnabled(false);
    Drukarki->setRowCount(0);
    Wizyty->setRowCount(0);
    Wizyta->clear();
    book::Book* book = main_.Book().Book();
    if (!book)
        return;
    std::vector<book::PrinterRow> printers;
    try {
        printers = book->Printers(Szukaj->text());
    } catch (const std::exception& error) {
        Wizyta->setPlainText(QString::fromUtf8(error.what()));
    }
    Drukarki->setRowCount(static_cast<int>(printers.size()));
    for (int row = 0; row < static_cast<int>(printers.size()); ++row)
        FillPrinterRow(Drukarki, row, printers[static_cast<std::size_t>(row)]);
    Drukarki->setSortingEnabled(true);
    Drukarki->resizeColumnsToContents();
}

void VisitBookDialog::DrukarkiClick()
{
    Wizyty->setSortingEnabled(false);
    Wizyty->setRowCount(0);
    Wizyta->clear();
    book::Book* book = main_.Book().Book();
    const QList<QTableWidgetItem*> chosen = Drukarki->selectedItems();
    if (!book || chosen.isEmpty())
        return;
    const QString unique = Drukarki->item(chosen.first()->row(), 0)->text();
    const std::vector<book::VisitRow> visits = book->Visits(unique);
    Wizyty->setRowCount(static_cast<int>(visits.size()));
    for (int row = 0; row < static_cast<int>(visits.size()); ++row) {
        const book::VisitRow& v = visits[static_cast<std::size_t>(row)];
        auto* first = new BookCell(BookDateText(v.started), v.started.toSecsSinceEpoch());
        first->setData(Qt::UserRole, v.id);
        Wizyty->setItem(row, 0, first);
        Wizyty->setItem(row, 1, new BookCell(v.ended.isValid() ? BookDateText(v.ended) : QStringLiteral("(trwa)")));
        Wizyty->setItem(row, 2, new BookCell(v.technician));
        Wizyty->setItem(row, 3, new BookCell(v.port));
        Wizyty->setItem(row, 4, new BookCell(QString::number(v.checks), v.checks));
        Wizyty->setItem(row, 5, new BookCell(QString::number(v.settings), v.settings));
    }
    Wizyty->setSortingEnabled(true);
    Wizyty->resizeColumnsToContents();
}

void VisitBookDialog::WizytyClick()
{
    Wizyta->clear();
    book::Book* book = main_.Book().Book();
    const QList<QTableWidgetItem*> chosen = Wizyty->selectedItems();
    if (!book || chosen.isEmpty())
        return;
    const qint64 id = Wizyty->item(chosen.first()->row(), 0)->data(Qt::UserRole).toLongLong();
    if (const std::optional<book::VisitDetail> detail = book->Visit(id))
        Wizyta->setPlainText(visitText(*detail));
}

}  // namespace varmo
