#pragma once
// A titled group of radio buttons, one per item, with the selected item's
// index: the port dialog's speed list and the like.
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

namespace varmo {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    // -1 when nothing is selected.
    int ItemIndex() const;
    // Out of range selects nothing.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;

signals:
    void ItemChosen(int index);

private:
    QStringList items_;
    QButtonGroup buttons_;
};

}  // namespace varmo
