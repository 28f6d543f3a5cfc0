#pragma once
// "Kontrola bazy danych": the operator keeps a list of goods names with their
// rate letters, edits it in a grid, saves and loads it as a text file, and
// sends it to the printer as a goods-database check report. The list stays
// in memory between openings.
#include <QModelIndex>
#include <memory>

#include "console/widgets/LateBuilt.h"

class QPushButton;

namespace varmo {

class GoodsGrid;
class GoodsTable;
class RadioGroup;
class SendProgress;
class MainServices;
struct GoodsRow;

class TFDatabaseReport : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFDatabaseReport(MainServices& main, FormBuild when = FormBuild::Now);
    ~TFDatabaseReport() override;

    static constexpr int kFramePauseMs = 1;

    RadioGroup* RG = nullptr;
    GoodsTable* MemoryTable = nullptr;
    GoodsGrid* DBGrid = nullptr;
    QPushButton* SpeedButton1 = nullptr;  // "Usuń"
    QPushButton* SBSave = nullptr;
    QPushButton* SBOpen = nullptr;
    QPushButton* SBSend = nullptr;
    QPushButton* BBCancel = nullptr;

    // The progress box while a long report goes out; nullptr otherwise.
    SendProgress* Progress() const { return progress_.get(); }

public slots:
    // The check of a row about to be stored; false abandons the post.
    bool MemoryTableBeforePost(GoodsRow& row);
    void SBSendClick();
    void SBSaveClick();
    void SBOpenClick();
    void SpeedButton1Click();
    // Deleting from inside the grid: asks first.
    void DBGridDeleteRecord();

protected:
    void BuildControls() override;

private:
    // Posts the row being typed, if any; false (after the operator was told
    // why) when it cannot be stored.
    bool postOpenRow();
    void finishLastRow();
    void gridRowChanged(const QModelIndex& current, const QModelIndex& previous);
    void sendReport();

    MainServices& main_;
    std::unique_ptr<SendProgress> progress_;
    bool returning_ = false;
};

}  // namespace varmo
