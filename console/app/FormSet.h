#pragma once
// Creates every form of the console once, in the order the program has always
// used, and destroys them in reverse, the main window last (its last act
// writes the code page back). The settings store must be open before and stay
// open until this is gone.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "console/app/Forms.h"

namespace varmo {

class FormSet {
public:
    FormSet();
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
