#pragma once
// The real prompts: Qt message boxes and file dialogs, in Polish through the
// toolkit's own translation loaded at start.
#include <QMessageBox>
#include <QPointer>

#include "console/base/Prompts.h"

namespace varmo {

class QtPrompts : public Prompts {
public:
    void message(const QString& text, const QString& caption) override;
    void errorBox(const QString& text) override;
    void lossNotice(const QString& text) override;
    void closeLossNotice() override;
    bool confirm(const QString& text, const QString& caption) override;
    QString openFileName(const QString& filter, const QString& defaultExt) override;
    QString saveFileName(const QString& filter, const QString& defaultExt) override;
    QString saveFileNameSuggesting(const QString& name, const QString& filter,
                                   const QString& defaultExt) override;

private:
    QString runFileDialog(bool save, const QString& filter, const QString& defaultExt,
                          const QString& name = QString());

    // Like the file dialogs the console reuses, the next one opens where the
    // operator left the last one; the first in the user's documents.
    QString lastDirectory_;
    QPointer<QMessageBox> loss_;
};

}  // namespace varmo
