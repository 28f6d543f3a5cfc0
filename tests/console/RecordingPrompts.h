#pragma once
// Prompts that record what the operator would have seen and answer file
// dialogs from a list of paths (an empty answer is a cancelled dialog).
#include <QString>
#include <deque>
#include <utility>
#include <vector>

#include "console/base/AppTitle.h"
#include "console/base/Prompts.h"

namespace varmo::test {

struct Shown {
    QString text;
    QString caption;
    bool error = false;
    bool question = false;

    bool operator==(const Shown& other) const
    {
        return text == other.text && caption == other.caption && error == other.error &&
               question == other.question;
    }
};

inline Shown Message(const QString& text, const QString& caption) { return {text, caption, false}; }
// The box a port that will not open gives: it names the port first.
inline bool CannotOpen(const std::vector<Shown>& shown, const QString& port)
{
    return shown.size() == 1 && !shown[0].error &&
           shown[0].caption == QStringLiteral("Nie można otworzyć portu") &&
           shown[0].text.startsWith(QStringLiteral("Nie można otworzyć portu ") + port);
}
inline Shown ErrorBox(const QString& text) { return {text, ApplicationTitle(), true}; }
inline Shown Question(const QString& text, const QString& caption)
{
    return {text, caption, false, true};
}

class RecordingPrompts : public Prompts {
public:
    void message(const QString& text, const QString& caption) override
    {
        shown.push_back(Message(text, caption));
    }
    void errorBox(const QString& text) override { shown.push_back(ErrorBox(text)); }
    // The loss box: told like the error box; a second one while it is up
    // replaces it, as the real one does.
    void lossNotice(const QString& text) override
    {
        shown.push_back(ErrorBox(text));
        lossOnScreen = true;
    }
    void closeLossNotice() override
    {
        if (std::exchange(lossOnScreen, false))
            ++lossClosed;
    }
    bool lossOnScreen = false;
    int lossClosed = 0;
    // Answered from confirmAnswers; with none left, the safe answer "no".
    bool confirm(const QString& text, const QString& caption) override
    {
        shown.push_back(Question(text, caption));
        if (confirmAnswers.empty())
            return false;
        const bool yes = confirmAnswers.front();
        confirmAnswers.pop_front();
        return yes;
    }
    QString openFileName(const QString& filter, const QString& defaultExt) override
    {
        return answer(false, filter, defaultExt);
    }
    QString saveFileName(const QString& filter, const QString& defaultExt) override
    {
        return answer(true, filter, defaultExt);
    }
    QString saveFileNameSuggesting(const QString& name, const QString& filter,
                                   const QString& defaultExt) override
    {
        const QString path = answer(true, filter, defaultExt);
        fileDialogs.back().suggested = name;
        return path;
    }

    struct FileDialog {
        bool save;
        QString filter;
        QString defaultExt;
        QString suggested;  // the name offered, if any
    };

    std::vector<Shown> shown;
    std::vector<FileDialog> fileDialogs;
    std::deque<QString> fileAnswers;
    std::deque<bool> confirmAnswers;

private:
    QString answer(bool save, const QString& filter, const QString& defaultExt)
    {
        fileDialogs.push_back({save, filter, defaultExt, {}});
        if (fileAnswers.empty())
            return {};
        QString path = fileAnswers.front();
        fileAnswers.pop_front();
        return path;
    }
};

}  // namespace varmo::test

// Readable failures.
#include <ostream>
namespace varmo::test {
inline std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << (shown.error ? "error box " : shown.question ? "question " : "message ") << '"' << shown.text.toStdString()
               << "\" / \"" << shown.caption.toStdString() << '"';
}
}  // namespace varmo::test
