#pragma once
// The exchange log "Dziennik": a dock under the main window with one row per
// frame, control byte or status byte that crossed the port, a text filter and
// a kind filter, clearing, export to a text or CSV file, and copying of the
// selected rows. It hears every byte the exchange sees cross the port; rows reach the view
// in batches, so a burst of answers never holds the event loop up.
#include <QDockWidget>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <optional>
#include <vector>

#include "console/log/ExchangeLogModel.h"
#include "console/log/ExchangeLogRows.h"
#include "console/log/LooseText.h"
#include "console/widgets/LateBuilt.h"
#include "link/PortTraffic.h"  // PortTraffic

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace varmo {

// Rows whose text holds the filter text (any case, Polish marks optional:
// LooseText) and whose kind is the one chosen, if any.
class ExchangeLogFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetText(const QString& text);
    void SetKind(std::optional<LogKind> kind);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    LooseText wanted_;
    bool timeLike_ = true;  // the text could be part of a row's time
    std::optional<LogKind> kind_;
};

class ExchangeLogDock : public LateBuilt<QDockWidget> {
    Q_OBJECT
public:
    // The rows are kept from the start; with FormBuild::OnFirstShowing the
    // view and its tools are made when the log is first shown.
    explicit ExchangeLogDock(QWidget* parent = nullptr, std::size_t capacity = kLogRowsKept,
                             FormBuild when = FormBuild::Now);

    void PortTrafficSeen(const PortTraffic& traffic);

    // Rows waiting for the next batch go into the model now.
    void Flush();

    // What the view shows, filters applied, oldest first; and what of it is
    // selected.
    std::vector<const LogRow*> ShownRows() const;
    std::vector<const LogRow*> SelectedRows() const;

    // Text, or CSV when the name ends in .csv; all or nothing. Written a
    // slice at a time from the event loop, as a wait on the line is.
    void ExportTo(const QString& path);

    // The height that shows the tools and about ten rows.
    int UsefulHeight();
    // The log opens at its useful height, the window growing for it where
    // the screen has room: for a first run, with no place kept.
    void OpenAtUsefulHeight();

    LogRowMaker Maker;
    ExchangeLogModel* Model = nullptr;
    ExchangeLogFilter* Filter = nullptr;
    QTableView* Table = nullptr;
    QLineEdit* EdFilter = nullptr;
    QComboBox* CBKind = nullptr;
    QPushButton* BtnCopy = nullptr;
    QPushButton* BtnClear = nullptr;
    QPushButton* BtnExport = nullptr;

public slots:
    void BtnCopyClick();
    void BtnClearClick();
    void BtnExportClick();
    void EdFilterChange();

protected:
    void BuildControls() override;
    void showEvent(QShowEvent* event) override;
    // The main window's resizing: the log keeps its share of the height.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeUsefulHeight();

    std::vector<LogRow> pending_;
    QTimer batch_;
    bool usefulPending_ = false;
    int target_ = 0;  // the height to take once the window has grown for it
    bool exporting_ = false;  // the model's rows are being written out
};

}  // namespace varmo
