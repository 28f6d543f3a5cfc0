#pragma once
// A one-line label that, short of room, shows the beginning of its text and
// "…" rather than a word cut off in the middle ("Wysłano: Ustawienie da"),
// with the whole text in its tooltip. text() stays the whole text.
#include <QLabel>

namespace varmo {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text and the tooltip together; nothing is touched when it is the same.
    void SetWholeText(const QString& text);
    // What the label shows in the width it has now.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize minimumSizeHint() const override;
};

}  // namespace varmo
