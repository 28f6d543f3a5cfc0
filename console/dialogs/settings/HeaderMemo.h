#pragma once
// The header's text field: fixed pitch, no wrapping, and a column of small
// buttons in its left margin, each standing beside one of the first lines
// whatever the font, the window's size or the scrolling.
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

namespace varmo {

class HeaderMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    // One button per caption, beside lines 1, 2, ... from the top.
    HeaderMemo(const QStringList& buttonCaptions, QWidget* parent = nullptr);

    QPushButton* LineButton(int line) const { return buttons_.at(static_cast<std::size_t>(line)); }

    // Where line (0-based) stands in the field's own coordinates, also for a
    // line the text does not have yet.
    QRect LineRect(int line) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeButtons();

    std::vector<QPushButton*> buttons_;
};

}  // namespace varmo
