#pragma once
// A form whose controls may wait for its first showing. The console makes
// every form at start so that each is there to be reached all run long; most
// are never opened in a visit, and making their controls costs the start of
// the program time and memory. Such a form is made with its caption and name
// only, and its controls are made when it is first shown (whatever shows
// it). Made with FormBuild::Now, it is whole at once.
#include <QDialog>

namespace varmo {

enum class FormBuild { Now, OnFirstShowing };

// Widget is the form's Qt class: a dialog, the log's dock.
template <typename Widget>
class LateBuilt : public Widget {
public:
    using Widget::Widget;

    bool Built() const { return built_; }

    // Makes the controls unless they are made already.
    void EnsureBuilt()
    {
        if (built_)
            return;
        // Marked first: a control made here that shows the form must not
        // start the making again.
        built_ = true;
        BuildControls();
    }

    void setVisible(bool visible) override
    {
        if (visible)
            EnsureBuilt();
        Widget::setVisible(visible);
    }

protected:
    // The last step of the form's own constructor.
    void BuildNowOr(FormBuild when)
    {
        if (when == FormBuild::Now)
            EnsureBuilt();
    }
    // Makes the controls, their layout and their connections; runs once.
    virtual void BuildControls() = 0;

private:
    bool built_ = false;
};

using LateBuiltDialog = LateBuilt<QDialog>;

}  // namespace varmo
