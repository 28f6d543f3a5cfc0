#pragma once
// The file dialog's size and date columns in Polish. The toolkit writes them
// in the system's regional format, which on a machine with none (the bare C
// locale) would put English words in front of the operator.
#include <QIdentityProxyModel>

namespace varmo {

class PolishFileColumns : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override;
};

}  // namespace varmo
