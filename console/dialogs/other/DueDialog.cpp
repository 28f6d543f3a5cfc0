#include "console/dialogs/other/DueDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "book/Book.h"
#include "console/base/HandlerGuard.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/MainServices.h"
#include "console/dialogs/other/BookCells.h"
#include "console/dialogs/other/BookSource.h"
#include "console/widgets/ObjectNames.h"

namespace varmo {

DueDialog::DueDialog(MainServices& main) : QDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Do przeglądu"));
    setObjectName(QStringLiteral("Due"));
    Dni = Named(new QSpinBox(this), "Dni");
    Dni->setRange(0, 3650);
    Dni->setValue(30);
    Dni->setSuffix(QStringLiteral(" dni"));
    Lista = Named(new QTableWidget(0, static_cast<int>(PrinterColumns().size()), this), "Lista");
    Lista->setHorizontalHeaderLabels(PrinterColumns());
    Lista->verticalHeader()->hide();
    Lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lista->horizontalHeader()->setStretchLastSection(true);
    Podsumowanie = Named(new QLabel(this), "Podsumowanie");
    Zamknij = Named(new QPushButton(QStringLiteral("Zamknij"), this), "Zamknij");
    Zrodlo = Named(new QLabel(this), "Zrodlo");
    Zrodlo->hide();
    source_ = std::make_unique<BookSource>(main.Book(), Zrodlo, this, [this] { DniChange(); });
    connect(Dni, &QSpinBox::valueChanged, this, [this] { Guarded([&] { DniChange(); }); });
    connect(Zamknij, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Przegląd w ciągu:"), this));
    top->addWidget(Dni);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Podsumowanie);
    buttons->addStretch();
    buttons->addWidget(Zamknij);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Lista);
    layout->addWidget(Zrodlo);
    layout->addLayout(buttons);
    resize(820, 480);
}

DueDialog::~DueDialog() = default;

void DueDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([&] {
        DniChange();
        source_->Shown();
    });
}

void DueDialog::DniChange()
{
    Lista->setRowCount(0);
    book::Book* book = main_.Book().Book();
    if (!book) {
        Podsumowanie->setText(main_.Book().Problem());
        return;
    }
    const std::vector<book::PrinterRow> due = book->Printers({}, Dni->value());
    Lista->setRowCount(static_cast<int>(due.size()));
    int overdue = 0;
    for (int row = 0; row < static_cast<int>(due.size()); ++row) {
        const book::PrinterRow& printer = due[static_cast<std::size_t>(row)];
        FillPrinterRow(Lista, row, printer);
        overdue += *printer.dueInDays < 0 ? 1 : 0;
    }
    Lista->resizeColumnsToContents();
    Podsumowanie->setText(QStringLiteral("Drukarek: %1, po terminie: %2").arg(due.size()).arg(overdue));
}

}  // namespace varmo
