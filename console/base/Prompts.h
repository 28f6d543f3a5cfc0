#pragma once
// Every message box, error box and file dialog of the console goes through
// this one seam. The application installs the real one (Qt dialogs); tests
// install one that records what the operator would have seen.
#include <QString>

namespace varmo {

class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal box with a Polish text, a Polish caption, one OK button, no icon.
    virtual void message(const QString& text, const QString& caption) = 0;

    // The standard error box: the text as given (the full stop is already
    // there), the application's title, an error icon, one OK button.
    virtual void errorBox(const QString& text) = 0;

    // The standard error box for the loss of the port, not modal: the console
    // carries on (the re-plug works) while it is up, a later loss replaces its
    // text instead of stacking a second box, and closeLossNotice takes it
    // away when the printer is back.
    virtual void lossNotice(const QString& text) { errorBox(text); }
    virtual void closeLossNotice() {}

    // A yes/no question under a caption; true when the operator said yes.
    virtual bool confirm(const QString& text, const QString& caption) = 0;

    // A path, or the empty text when the operator cancelled. The filter is in
    // Qt's form ("Plik tekstowy (*.txt);;Dowolny plik (*)").
    virtual QString openFileName(const QString& filter, const QString& defaultExt) = 0;
    virtual QString saveFileName(const QString& filter, const QString& defaultExt) = 0;
    // The same, with a name already typed in for the operator; prompts that
    // cannot offer one ask as saveFileName does.
    virtual QString saveFileNameSuggesting(const QString& name, const QString& filter,
                                           const QString& defaultExt)
    {
        (void)name;
        return saveFileName(filter, defaultExt);
    }
};

// The prompts in force; the real Qt ones until something else is installed.
Prompts& CurrentPrompts();

// Installs prompts (not owned) and returns the ones in force before; nullptr
// goes back to the real Qt ones.
Prompts* InstallPrompts(Prompts* prompts);

// The filter every file dialog of the console uses: text files, then any file.
QString TextFileFilter();
inline const QString kTextFileExt = QStringLiteral("txt");

}  // namespace varmo
