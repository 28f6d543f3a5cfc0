#include "console/base/PolishFileColumns.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

namespace varmo {

namespace {

// The columns of the toolkit's file list.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

}  // namespace

QVariant PolishFileColumns::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kSizeColumn && !files->isDir(source))
        return polish.formattedDataSize(files->size(source));
    if (index.column() == kDateColumn)
        return polish.toString(files->lastModified(source), QLocale::ShortFormat);
    return QIdentityProxyModel::data(index, role);
}

}  // namespace varmo
