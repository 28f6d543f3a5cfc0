#pragma once
// The about box: who made the console, who distributes it, how to reach them,
// and the version. It does nothing but close.
#include "console/widgets/LateBuilt.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varmo {

class TFormAbout : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr, FormBuild when = FormBuild::Now);

    QLabel* Maker = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Comments = nullptr;
    QLabel* DistributionHeading = nullptr;
    QLabel* DistributorLogo = nullptr;
    QLabel* DistributorName = nullptr;
    QPlainTextEdit* Contact = nullptr;
    QPushButton* OKButton = nullptr;
    QLabel* Version = nullptr;

protected:
    void BuildControls() override;
};

}  // namespace varmo
