#include "console/dialogs/reports/TFDatabaseReport.h"

#include <QElapsedTimer>
#include <memory>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/TransactionCommands.h"
#include "console/widgets/DialogButtons.h"
#include "console/files/FileIO.h"
#include "console/files/GoodsFile.h"
#include "console/dialogs/reports/GoodsGrid.h"
#include "console/dialogs/reports/GoodsLoadMessage.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/dialogs/PrinterRefusal.h"
#include "console/base/Prompts.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/reports/SendProgress.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"
#include "console/base/Text.h"
#include "protocol/Cp1250.h"

namespace varmo {

namespace {

const QString kCaption = QStringLiteral("Kontrola bazy danych");
const QString kSentCaption = QStringLiteral("Raport z bazy danych");

// How long the frames take on the wire at this speed (ten bits a byte), with
// the pauses between them.
qint64 wireTimeMs(const std::vector<std::string>& frames, std::int32_t baud, int pauseMs)
{
    qint64 bytes = 0;
    for (const std::string& frame : frames)
        bytes += static_cast<qint64>(frame.size());
    const qint64 perSecond = baud > 0 ? baud : 9600;
    return bytes * 10 * 1000 / perSecond + static_cast<qint64>(frames.size()) * pauseMs;
}

}  // namespace

TFDatabaseReport::TFDatabaseReport(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(kCaption);
    BuildNowOr(when);
}

void TFDatabaseReport::BuildControls()
{
    RG = Named(new RadioGroup(QStringLiteral("Rodzaj raportu"),
                              {QStringLiteral("Raport przyporządkowania towarów do stawek "
                                              "podatkowych"),
                               QStringLiteral("Raport towarów zablokowanych")},
                              this),
               "RG");
    RG->SetItemIndex(0);

    MemoryTable = Named(new GoodsTable(this), "MemoryTable");
    MemoryTable->BeforePost = [this](GoodsRow& row) { return MemoryTableBeforePost(row); };
    DBGrid = Named(new GoodsGrid(this), "DBGrid");
    DBGrid->setModel(MemoryTable);
    DBGrid->setColumnWidth(GoodsTable::kNameColumn, 200);
    DBGrid->setColumnWidth(GoodsTable::kRateColumn, 41);
    DBGrid->setMinimumSize(300, 220);

    SpeedButton1 = Named(new QPushButton(QStringLiteral("Usuń"), this), "SpeedButton1");
    SBSave = Named(new QPushButton(QStringLiteral("Zapisz"), this), "SBSave");
    SBOpen = Named(new QPushButton(QStringLiteral("Otwórz"), this), "SBOpen");
    SBSend = Named(new QPushButton(QStringLiteral("Wyślij"), this), "SBSend");
    BBCancel = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BBCancel");
    for (QPushButton* button : {SpeedButton1, SBSave, SBOpen, SBSend, BBCancel})
        button->setAutoDefault(false);

    auto* tools = new QVBoxLayout;
    for (QPushButton* button : {SpeedButton1, SBSave, SBOpen, SBSend})
        tools->addWidget(button);
    tools->addStretch(1);
    tools->addWidget(BBCancel);
    auto* body = new QHBoxLayout;
    body->addWidget(DBGrid, 1);
    body->addLayout(tools);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RG);
    layout->addLayout(body, 1);

    connect(SpeedButton1, &QPushButton::clicked, this, &TFDatabaseReport::SpeedButton1Click);
    connect(SBSave, &QPushButton::clicked, this, &TFDatabaseReport::SBSaveClick);
    connect(SBOpen, &QPushButton::clicked, this, &TFDatabaseReport::SBOpenClick);
    connect(SBSend, &QPushButton::clicked, this, &TFDatabaseReport::SBSendClick);
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(DBGrid, &GoodsGrid::DeleteRequested, this, &TFDatabaseReport::DBGridDeleteRecord);
    connect(DBGrid, &GoodsGrid::LeaveLastRow, this, &TFDatabaseReport::finishLastRow);
    connect(DBGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFDatabaseReport::gridRowChanged);
}

TFDatabaseReport::~TFDatabaseReport() = default;

bool TFDatabaseReport::MemoryTableBeforePost(GoodsRow& row)
{
    const QString rate = row.rate.toUpper();
    if (rate.size() != 1 || rate.at(0) < QLatin1Char('A') || rate.at(0) > QLatin1Char('G')) {
        CurrentPrompts().message(QStringLiteral("Dozwolone są tylko stawki A-G"), kCaption);
        return false;
    }
    // The file keeps a name up to its first ';': such a name would come
    // back from the file as another goods.
    if (row.name.contains(QLatin1Char(';'))) {
        CurrentPrompts().message(QStringLiteral("Nazwa towaru nie może zawierać znaku ';'"),
                                 kCaption);
        return false;
    }
    // A letter the printer's code pages cannot carry would reach it as '?'.
    if (!TryUtf8ToCp1250(row.name.toStdString())) {
        CurrentPrompts().message(
            QStringLiteral("Nazwa towaru może zawierać tylko znaki strony kodowej Windows-1250"),
            kCaption);
        return false;
    }
    row.rate = rate;
    return true;
}

bool TFDatabaseReport::postOpenRow()
{
    DBGrid->CommitEditor();
    return MemoryTable->Post();
}

void TFDatabaseReport::finishLastRow()
{
    Guarded([&] {
        if (!MemoryTable->Modified())
            return;
        const int column = std::max(DBGrid->currentIndex().column(), 0);
        // A posted new row makes room for the next one just below it.
        if (postOpenRow())
            DBGrid->setCurrentIndex(MemoryTable->index(MemoryTable->RecordCount(), column));
    });
}

void TFDatabaseReport::gridRowChanged(const QModelIndex& current, const QModelIndex& previous)
{
    const int open = MemoryTable->OpenRow();
    if (returning_ || open < 0 || current.row() == open)
        return;
    if (!MemoryTable->Modified()) {
        MemoryTable->Cancel();
        return;
    }
    bool posted = false;
    Guarded([&] { posted = MemoryTable->Post(); });
    if (posted)
        return;
    // The row stays open for editing: back to it, once the grid is done
    // moving.
    const int column = previous.isValid() ? previous.column() : 0;
    QMetaObject::invokeMethod(
        this,
        [this, column] {
            const int row = MemoryTable->OpenRow();
            if (row < 0)
                return;
            returning_ = true;
            DBGrid->setCurrentIndex(MemoryTable->index(row, column));
            returning_ = false;
        },
        Qt::QueuedConnection);
}

void TFDatabaseReport::SpeedButton1Click()
{
    Guarded([&] {
        const int row = DBGrid->currentIndex().row();
        if (MemoryTable->RecordCount() == 0 || row < 0)
            return;
        // On the line for a new row there is nothing stored to delete; what
        // was typed there is dropped.
        if (row >= MemoryTable->RecordCount()) {
            MemoryTable->Cancel();
            return;
        }
        DBGrid->DiscardEditor();
        MemoryTable->Delete(row);
    });
}

void TFDatabaseReport::DBGridDeleteRecord()
{
    Guarded([&] {
        const int row = DBGrid->currentIndex().row();
        if (row < 0 || row >= MemoryTable->RecordCount())
            return;
        if (!CurrentPrompts().confirm(QStringLiteral("Delete record?"), kCaption))
            return;
        DBGrid->DiscardEditor();
        MemoryTable->Delete(row);
    });
}

void TFDatabaseReport::SBSaveClick()
{
    Guarded([&] {
        DBGrid->CommitEditor();
        const QString path = CurrentPrompts().saveFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty() || !postOpenRow())
            return;
        std::vector<GoodsFileRow> rows;
        for (const GoodsRow& row : MemoryTable->Rows())
            rows.push_back({ToCp1250(row.name), ToCp1250(row.rate).front()});
        // All or nothing: a failed save leaves the old file as it was.
        WriteWholeFile(path, GoodsFileBytes(rows));
    });
}

void TFDatabaseReport::SBOpenClick()
{
    Guarded([&] {
        DBGrid->CommitEditor();
        const QString path = CurrentPrompts().openFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty())
            return;
        if (MemoryTable->Modified()) {
            if (!MemoryTable->Post())
                return;
        } else {
            MemoryTable->Cancel();
        }
        // The whole file first: one that cannot be read leaves the list as
        // it was.
        GoodsFileNotes notes;
        const std::vector<GoodsFileRow> lines =
            ReadGoodsFile(ReadWholeFile(path, kMaxGoodsFileSize), &notes);
        std::vector<GoodsRow> rows;
        rows.reserve(lines.size());
        for (const GoodsFileRow& line : lines)
            rows.push_back({FromCp1250(line.name), QString(QLatin1Char(line.rate))});
        // A goods without a name, or one refused, stops the load; what came
        // before it stays, and no half-made row is left behind.
        if (!MemoryTable->Load(std::move(rows)))
            return;
        // The lines skipped and the names cut, or a file without goods, in
        // one box after the load.
        const QString told = GoodsLoadMessage(path, lines.size(), notes);
        if (!told.isEmpty())
            CurrentPrompts().message(told, kCaption);
    });
}

void TFDatabaseReport::SBSendClick()
{
    Guarded([&] {
        if (!postOpenRow() || !main_.EnsurePortOpen())
            return;
        sendReport();
    });
}

void TFDatabaseReport::sendReport()
{
    // Every frame is made before the first goes out, so the printer never
    // gets a report cut short by one that cannot be built.
    // The commands stay for the log, which names each frame by its command.
    const std::vector<GoodsRow>& rows = MemoryTable->Rows();
    const int total = static_cast<int>(rows.size());
    std::vector<std::unique_ptr<TCmdBaseLine>> lineCommands;
    std::vector<std::string> lines;
    lineCommands.reserve(rows.size());
    lines.reserve(rows.size());
    for (const GoodsRow& row : rows) {
        lineCommands.push_back(
            std::make_unique<TCmdBaseLine>(ToCp1250(row.name), ToCp1250(row.rate).front()));
        lines.push_back(lineCommands.back()->GetFrame());
    }
    const TCmdBaseStart startCommand(RG->ItemIndex() == 1);
    const TCmdBaseConfirm endCommand;
    const std::string start = startCommand.GetFrame();
    const std::string end = endCommand.GetFrame();

    // A report that the line takes long over shows its progress at once; one
    // that only turns out slow shows it once it has run half a second.
    const bool longSend = wireTimeMs(lines, main_.Printer().Speed(), kFramePauseMs) >=
                          SendProgress::kShowAfterMs;
    progress_ = std::make_unique<SendProgress>(this, total);
    struct Cleanup {
        TFDatabaseReport* dialog;
        QAbstractItemView::EditTriggers triggers;
        ~Cleanup()
        {
            dialog->progress_.reset();
            dialog->DBGrid->setEditTriggers(triggers);
        }
    } cleanup{this, DBGrid->editTriggers()};
    // The current row follows the report without opening an editor on each.
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QElapsedTimer clock;
    const auto pause = [&] {
        if (!progress_->isVisible() && (longSend || clock.elapsed() >= SendProgress::kShowAfterMs))
            progress_->show();
        // Held like any wait on the line; the progress box keeps "Anuluj".
        return main_.Printer().PauseBetweenFrames(kFramePauseMs);
    };

    // The port lost under the report: the operator hears how many goods
    // went, and once the printer is taken back the end frame takes it out of
    // the report, as "Anuluj" does.
    const auto lost = [&](int sent) {
        progress_.reset();
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(&main_.Printer(), &PrinterExchange::printerBack, this, [this, once, end] {
            QObject::disconnect(*once);
            Guarded([&] { main_.Printer().SendWholeFrame(end); });
        });
        CurrentPrompts().message(QStringLiteral("Wysłano %1 z %2. Połączenie z drukarką zostało "
                                                "przerwane; raport zostanie zamknięty, gdy "
                                                "drukarka wróci.")
                                     .arg(sent)
                                     .arg(total),
                                 kSentCaption);
    };
    // The whole series; a write that fails is the port lost like any other
    // loss, told the same way.
    int sent = 0;
    const auto series = [&] {
        main_.Printer().SendWholeFrame(start, &startCommand);
        // Timed from the first frame: a late answer awaited before it is no
        // slowness of the report's.
        clock.start();
        if (!pause())
            return lost(0);
        for (;; ++sent) {
            // "Anuluj" stops before the next line; the end still goes out, or
            // the printer would stay inside the report and refuse every later one.
            if (progress_->Cancelled()) {
                main_.Printer().SendWholeFrame(end, &endCommand);
                progress_.reset();
                if (!TellIfRefused(main_, kSentCaption))
                    CurrentPrompts().message(
                        QStringLiteral("Wysyłanie przerwane po %1 z %2 pozycjach. Raport "
                                       "zamknięto na towarach wysłanych do tej pory.")
                            .arg(sent)
                            .arg(total),
                        kSentCaption);
                return;
            }
            if (sent == total)
                break;
            DBGrid->setCurrentIndex(MemoryTable->index(sent, GoodsTable::kNameColumn));
            const auto at = static_cast<std::size_t>(sent);
            main_.Printer().SendWholeFrame(lines[at], lineCommands[at].get());
            progress_->SetDone(sent + 1);
            if (!pause())
                return lost(sent + 1);
        }
        main_.Printer().SendWholeFrame(end, &endCommand);
        progress_.reset();
        if (!TellIfRefused(main_, kSentCaption))
            CurrentPrompts().message(QStringLiteral("Raport został wysłany"), kSentCaption);
    };
    try {
        series();
    } catch (const EComPort&) {
        lost(sent);
    }
}

}  // namespace varmo
