#pragma once
// A one-line field with a fixed mask: the operator types into the free
// positions only. When he has changed the text and a required position is
// still blank, the field keeps the focus and says so; Escape puts back the
// text it had before his changes.
#include <QLineEdit>

namespace varmo {

class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(const QString& inputMask, QWidget* parent = nullptr);

    // Puts a new text in, which Escape goes back to from the operator's changes.
    void SetBaseText(const QString& text);

    // The text with the mask's separators and a blank for every position not
    // filled (QLineEdit::text() drops those, which would shift the pieces).
    QString MaskedText() const;

    // True when the field may give up the focus; otherwise the operator has
    // been told (once per attempt) and the field takes the focus back.
    bool ValidateEdit();

    static QString InvalidInputMessage()
    {
        return QStringLiteral("Invalid input value.  Use escape key to abandon changes");
    }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString textBeforeEdit_;
    bool reported_ = false;
};

}  // namespace varmo
