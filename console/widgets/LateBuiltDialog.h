#pragma once
// A dialog whose controls may wait for its first showing. The console makes
// every form at start so that each is there to be reached all run long; most
// are never opened in a visit, and making their controls costs the start of
// the program time and memory. Such a form is made as an empty dialog with
// its caption and name, and its controls are made when it is first shown
// (whatever shows it). Made with FormBuild::Now, it is whole at once.
#include <QDialog>

namespace varmo {

enum class FormBuild { Now, OnFirstShowing };

class LateBuiltDialog : public QDialog {
    Q_OBJECT
public:
    explicit LateBuiltDialog(QWidget* parent);

    bool Built() const { return built_; }
    // Makes the controls unless they are made already.
    void EnsureBuilt();

    void setVisible(bool visible) override;

protected:
    // The last step of the form's own constructor.
    void BuildNowOr(FormBuild when);
    // Makes the controls, their layout and their connections; runs once.
    virtual void BuildControls() = 0;

private:
    bool built_ = false;
};

}  // namespace varmo
