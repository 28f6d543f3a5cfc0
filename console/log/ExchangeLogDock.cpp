#include "console/log/ExchangeLogDock.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

#include "console/log/ExchangeLogExport.h"
#include "console/files/FileIO.h"
#include "console/widgets/Fonts.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "link/LineWait.h"

namespace varmo {

namespace {

// Rows gather this long before they reach the view: a burst costs the event
// loop a few insertions a second instead of one per frame.
constexpr int kBatchMs = 30;

// How many rows the log shows when it first opens, and the fewest it opens
// with whatever size it was left at.
constexpr int kUsefulRows = 10;
constexpr int kLeastRows = 8;
// An export writes this many rows per turn of the event loop: a few
// milliseconds' work.
constexpr std::size_t kExportSliceRows = 500;
// Far beyond any log's export; only a stuck disk gets there.
constexpr qint64 kExportLimitMs = 10 * 60 * 1000;

constexpr LogKind kKinds[] = {LogKind::Frame, LogKind::Enq,    LogKind::Dle,
                              LogKind::Can,   LogKind::Status, LogKind::Outside};

}  // namespace

void ExchangeLogFilter::SetText(const QString& text)
{
    text_ = text;
    wanted_ = LooseText(text);
    timeLike_ = std::all_of(text_.cbegin(), text_.cend(), [](QChar c) {
        return c.isDigit() || c == QLatin1Char(':') || c == QLatin1Char('.');
    });
    invalidateFilter();
}

void ExchangeLogFilter::SetKind(std::optional<LogKind> kind)
{
    kind_ = kind;
    invalidateFilter();
}

bool ExchangeLogFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const auto* model = static_cast<const ExchangeLogModel*>(sourceModel());
    const LogRow& row = model->Row(sourceRow);
    if (kind_ && row.kind != *kind_)
        return false;
    if (text_.isEmpty())
        return true;
    const auto holds = [&](const QString& field) { return wanted_.FoundIn(field); };
    // Only digits, colons and dots can be part of a time: any other text
    // spares a hundred thousand rows their time's formatting.
    return holds(row.text) || holds(row.what) || holds(row.description) ||
           (timeLike_ && holds(row.when.toString(QStringLiteral("HH:mm:ss.zzz"))));
}

ExchangeLogDock::ExchangeLogDock(QWidget* parent, std::size_t capacity, FormBuild when)
    : LateBuilt<QDockWidget>(QStringLiteral("Dziennik"), parent)
{
    setObjectName(QStringLiteral("Dziennik"));
    Model = new ExchangeLogModel(capacity, this);
    Filter = new ExchangeLogFilter(this);
    Filter->setSourceModel(Model);

    batch_.setSingleShot(true);
    batch_.setInterval(kBatchMs);
    connect(&batch_, &QTimer::timeout, this, &ExchangeLogDock::Flush);
    if (parent != nullptr)
        parent->installEventFilter(this);
    BuildNowOr(when);
}

void ExchangeLogDock::BuildControls()
{
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* tools = new QHBoxLayout;
    EdFilter = new QLineEdit(body);
    EdFilter->setObjectName(QStringLiteral("EdFilter"));
    EdFilter->setPlaceholderText(QStringLiteral("Szukaj"));
    // Its clear button comes with the log's first showing: looking its icon
    // up in the desktop's theme is a tenth of the console's start-up, and the
    // log is mostly hidden then.
    CBKind = new QComboBox(body);
    CBKind->setObjectName(QStringLiteral("CBKind"));
    CBKind->addItem(QStringLiteral("wszystko"));
    for (LogKind kind : kKinds)
        CBKind->addItem(LogKindName(kind), static_cast<int>(kind));
    BtnCopy = new QPushButton(QStringLiteral("Kopiuj"), body);
    BtnCopy->setObjectName(QStringLiteral("BtnCopy"));
    BtnClear = new QPushButton(QStringLiteral("Wyczyść"), body);
    BtnClear->setObjectName(QStringLiteral("BtnClear"));
    BtnExport = new QPushButton(QStringLiteral("Eksportuj…"), body);
    BtnExport->setObjectName(QStringLiteral("BtnExport"));
    tools->addWidget(EdFilter, 1);
    tools->addWidget(CBKind);
    tools->addWidget(BtnCopy);
    tools->addWidget(BtnClear);
    tools->addWidget(BtnExport);
    layout->addLayout(tools);

    Table = new QTableView(body);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(Filter);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->setCornerButtonEnabled(false);
    // Every row as high as the first and every column as wide as set here:
    // nothing is measured again when rows come.
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 4);
    QHeaderView* columns = Table->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(ExchangeLogModel::TextColumn, QHeaderView::Stretch);
    const int widths[] = {95, 65, 280, 300, 220, 80};
    for (int column = 0; column < int(std::size(widths)); ++column)
        Table->setColumnWidth(column, widths[column]);
    layout->addWidget(Table, 1);
    setWidget(body);

    auto* copy = new QAction(Table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    Table->addAction(copy);
    connect(copy, &QAction::triggered, this, &ExchangeLogDock::BtnCopyClick);
    connect(BtnCopy, &QPushButton::clicked, this, &ExchangeLogDock::BtnCopyClick);
    connect(BtnClear, &QPushButton::clicked, this, &ExchangeLogDock::BtnClearClick);
    connect(BtnExport, &QPushButton::clicked, this, &ExchangeLogDock::BtnExportClick);
    connect(EdFilter, &QLineEdit::textChanged, this, &ExchangeLogDock::EdFilterChange);
    connect(CBKind, &QComboBox::currentIndexChanged, this, &ExchangeLogDock::EdFilterChange);
}

int ExchangeLogDock::UsefulHeight()
{
    EnsureBuilt();
    const int rows = Table->horizontalHeader()->sizeHint().height() +
                     kUsefulRows * Table->verticalHeader()->defaultSectionSize() +
                     Table->horizontalScrollBar()->sizeHint().height() + 2 * Table->frameWidth();
    return sizeHint().height() - Table->sizeHint().height() + rows;
}

void ExchangeLogDock::OpenAtUsefulHeight()
{
    usefulPending_ = true;
    if (isVisible())
        QTimer::singleShot(0, this, &ExchangeLogDock::takeUsefulHeight);
}

void ExchangeLogDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    EdFilter->setClearButtonEnabled(true);
    // Left squeezed by the last run (or hidden while the panes above took
    // its room), it opens tall enough to be read all the same.
    QTimer::singleShot(0, this, [this] {
        const int row = Table->verticalHeader()->defaultSectionSize();
        if (Table->viewport()->height() < kLeastRows * row)
            usefulPending_ = true;
        takeUsefulHeight();
    });
}

void ExchangeLogDock::takeUsefulHeight()
{
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (!usefulPending_ || window == nullptr || !isVisible() || isFloating())
        return;
    usefulPending_ = false;
    const int want = UsefulHeight();
    const int missing = want - height();
    if (missing <= 0)
        return;
    // The panes above cannot give that much at the window's first size: the
    // window grows instead, as far as the screen has room.
    const QScreen* screen = window->screen();
    if (screen != nullptr && !window->isMaximized() && !window->isFullScreen()) {
        const QRect room = screen->availableGeometry();
        const int frame = window->frameGeometry().height() - window->height();
        const int height = std::min(window->height() + missing, room.height() - frame);
        if (height > window->height()) {
            target_ = want;
            window->resize(window->width(), height);
            if (window->frameGeometry().bottom() > room.bottom())
                window->move(window->x(), std::max(room.top(), room.bottom() - height - frame));
            return;
        }
    }
    window->resizeDocks({this}, {want}, Qt::Vertical);
}

bool ExchangeLogDock::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the main window passes here: the cheap test goes first.
    if (event->type() != QEvent::Resize)
        return false;
    auto* window = qobject_cast<QMainWindow*>(watched);
    if (window == nullptr || !isVisible() || isFloating())
        return false;
    const auto* resize = static_cast<QResizeEvent*>(event);
    const int before = resize->oldSize().height();
    const int after = resize->size().height();
    if (target_ > 0) {
        window->resizeDocks({this}, {std::exchange(target_, 0)}, Qt::Vertical);
    } else if (before > 0 && after != before) {
        // Left alone, the panes above would take all of a change in height.
        const int share = static_cast<int>(static_cast<qint64>(height()) * after / before);
        window->resizeDocks({this}, {share}, Qt::Vertical);
    }
    return false;
}

void ExchangeLogDock::PortTrafficSeen(const PortTraffic& traffic)
{
    // Called from inside the port: nothing here may throw.
    try {
        std::vector<LogRow> rows = Maker.Rows(traffic);
        std::move(rows.begin(), rows.end(), std::back_inserter(pending_));
        // A flood faster than the view shows it is trimmed here already.
        if (pending_.size() > 2 * Model->Capacity())
            pending_.erase(pending_.begin(),
                           pending_.end() - static_cast<std::ptrdiff_t>(Model->Capacity()));
        if (!batch_.isActive())
            batch_.start();
    } catch (...) {
        // A row that could not be made is not worth stopping the line for.
    }
}

void ExchangeLogDock::Flush()
{
    if (exporting_)
        return;
    batch_.stop();
    if (pending_.empty())
        return;
    // Follow the newest row only when the operator is looking at the end.
    const QScrollBar* bar = Built() ? Table->verticalScrollBar() : nullptr;
    const bool atEnd = bar != nullptr && bar->value() >= bar->maximum();
    Model->Append(std::exchange(pending_, {}));
    if (atEnd)
        Table->scrollToBottom();
}

std::vector<const LogRow*> ExchangeLogDock::ShownRows() const
{
    std::vector<const LogRow*> rows;
    const int count = Filter->rowCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(&Model->Row(Filter->mapToSource(Filter->index(row, 0)).row()));
    return rows;
}

std::vector<const LogRow*> ExchangeLogDock::SelectedRows() const
{
    if (!Built())
        return {};
    QModelIndexList selected = Table->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<const LogRow*> rows;
    for (const QModelIndex& index : selected)
        rows.push_back(&Model->Row(Filter->mapToSource(index).row()));
    return rows;
}

void ExchangeLogDock::ExportTo(const QString& path)
{
    const std::vector<const LogRow*> rows = ShownRows();
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    FileWriter file(path);
    if (csv)
        file.Write(LogCsvHeader().toUtf8());
    {
        // The rows written stay in place until the file is done: what the
        // line brings meanwhile waits for the next batch.
        const QScopedValueRollback<bool> holding(exporting_, true);
        std::size_t next = 0;
        std::exception_ptr failure;
        const auto slice = [&] {
            try {
                const std::size_t end = std::min(rows.size(), next + kExportSliceRows);
                file.Write(LogLines(rows, next, end, csv));
                next = end;
            } catch (...) {
                failure = std::current_exception();
            }
            return failure || next == rows.size();
        };
        // A slice per turn of the event loop, so the window keeps painting
        // through a long log; the line wait holds the operator's input off
        // and its "Przerwij" gives the export up.
        QTimer turn;
        turn.setInterval(0);
        LineWait wait(kExportLimitMs);
        wait.WakeOn(&turn, &QTimer::timeout);
        turn.start();
        const WaitOutcome outcome = wait.Run(slice);
        if (failure)
            std::rethrow_exception(failure);
        if (outcome != WaitOutcome::Done)
            return;  // broken off: the old file stays
    }
    file.Commit();
    if (!pending_.empty() && !batch_.isActive())
        batch_.start();
}

void ExchangeLogDock::BtnCopyClick()
{
    Guarded([&] {
        const std::vector<const LogRow*> rows = SelectedRows();
        if (!rows.empty())
            QGuiApplication::clipboard()->setText(QString::fromStdString(LogText(rows)));
    });
}

void ExchangeLogDock::BtnClearClick()
{
    Guarded([&] {
        if (exporting_)
            return;
        pending_.clear();
        batch_.stop();
        Model->Clear();
    });
}

void ExchangeLogDock::BtnExportClick()
{
    Guarded([&] {
        Flush();
        // The CSV keeps every byte; its filter first, as the name offered.
        const QString path = CurrentPrompts().saveFileNameSuggesting(
            DefaultLogExportName(QDateTime::currentDateTime()),
            QStringLiteral("Plik CSV (*.csv);;Plik tekstowy (*.txt);;Dowolny plik (*)"),
            QStringLiteral("csv"));
        if (!path.isEmpty())
            ExportTo(path);
    });
}

void ExchangeLogDock::EdFilterChange()
{
    Guarded([&] {
        Filter->SetText(EdFilter->text());
        const QVariant kind = CBKind->currentData();
        Filter->SetKind(kind.isValid() ? std::optional(static_cast<LogKind>(kind.toInt()))
                                       : std::nullopt);
    });
}

}  // namespace varmo
