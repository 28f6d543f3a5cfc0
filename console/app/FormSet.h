#pragma once
// Creates every form of the console once, in the order the program has always
// used, and destroys them in reverse, the main window last (its last act
// writes the code page back). The settings store must be open before and stay
// open until this is gone.
//
// The program makes its dialogs' controls, and the log's view, on their first
// showing, so that its window is up sooner and a visit pays only for what it
// opens.
// Made with FormBuild::Now (the default), every form is whole at once.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "console/mainwindow/Forms.h"
#include "console/widgets/LateBuilt.h"

namespace varmo {

class FormSet {
public:
    explicit FormSet(FormBuild dialogs = FormBuild::Now);
    ~FormSet();
    FormSet(const FormSet&) = delete;
    FormSet& operator=(const FormSet&) = delete;

    Forms& forms() { return forms_; }
    TFMain& main() { return *forms_.FMain; }

private:
    template <typename Form, typename... Args>
    Form* create(Args&&... args);

    Forms forms_;
    std::vector<QPointer<QWidget>> created_;
};

}  // namespace varmo
