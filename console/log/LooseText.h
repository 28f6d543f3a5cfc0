#pragma once
// The log's search as the operator types it: letter case aside, and a letter
// typed without its Polish mark finds it with the mark too ("lodz" finds
// "Łódź"), as a technician on a keyboard without Polish letters types it. A
// letter typed with its mark finds only itself.
#include <QString>
#include <QStringView>

namespace varmo {

class LooseText {
public:
    LooseText() = default;
    explicit LooseText(const QString& wanted);

    bool Empty() const { return wanted_.isEmpty(); }
    // Whether text holds what is wanted.
    bool FoundIn(QStringView text) const;

    // A letter in lower case without its mark: "Ł" gives 'l', "ó" 'o'.
    static char16_t Plain(QChar c);

private:
    QString wanted_;  // as typed
    QString lower_;   // in lower case
    bool loose_ = false;  // holds a letter that a marked one may stand for
};

}  // namespace varmo
