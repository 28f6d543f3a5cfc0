#include "console/base/QtPrompts.h"

#include "console/base/WaitIndicator.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QDir>
#include <QStandardPaths>

#include "console/base/AppTitle.h"
#include "console/base/CaptionWidth.h"
#include "console/base/PolishFileColumns.h"

namespace varmo {

namespace {

// A box sizes itself to its text; a short text under a long caption would
// cut the caption off in the title bar. Wide enough for the caption, with
// room for the window's own buttons.
void widenForCaption(QMessageBox& box, const QString& caption)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    const int width = CaptionWidth(box, caption);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void showBox(QMessageBox::Icon icon, const QString& text, const QString& caption)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    widenForCaption(box, caption);
    box.exec();
}

}  // namespace

void QtPrompts::message(const QString& text, const QString& caption)
{
    showBox(QMessageBox::NoIcon, text, caption);
}

void QtPrompts::errorBox(const QString& text)
{
    showBox(QMessageBox::Critical, text, ApplicationTitle());
}

void QtPrompts::lossNotice(const QString& text)
{
    if (loss_) {
        loss_->setText(text);
        return;
    }
    loss_ = new QMessageBox(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok,
                            QApplication::activeWindow());
    loss_->setTextFormat(Qt::PlainText);
    loss_->setModal(false);
    loss_->setAttribute(Qt::WA_DeleteOnClose);
    // It answers to the mouse during waits on the line too.
    WaitIndicator::TakesInputDuringWaits(loss_);
    loss_->show();
}

void QtPrompts::closeLossNotice()
{
    if (loss_)
        loss_->close();
}

bool QtPrompts::confirm(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // A slip of the Enter key must not destroy anything.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompts::openFileName(const QString& filter, const QString& defaultExt)
{
    return runFileDialog(false, filter, defaultExt);
}

QString QtPrompts::saveFileName(const QString& filter, const QString& defaultExt)
{
    return runFileDialog(true, filter, defaultExt);
}

QString QtPrompts::saveFileNameSuggesting(const QString& name, const QString& filter,
                                          const QString& defaultExt)
{
    return runFileDialog(true, filter, defaultExt, name);
}

QString QtPrompts::runFileDialog(bool save, const QString& filter, const QString& defaultExt,
                                 const QString& name)
{
    // The first one opens in the user's documents, not in the folder the
    // program was started from (on Windows the program's own).
    if (lastDirectory_.isEmpty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        lastDirectory_ = QDir(documents).exists() ? documents : QDir::homePath();
    }
    QFileDialog dialog(QApplication::activeWindow(), QString(), lastDirectory_, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultExt);
    // The operator's chosen file is created or overwritten as it is, as the
    // console always did; the file is replaced whole or not at all.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setProxyModel(new PolishFileColumns(&dialog));
    if (!name.isEmpty())
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastDirectory_ = QFileInfo(path).absolutePath();
    return path;
}

}  // namespace varmo
