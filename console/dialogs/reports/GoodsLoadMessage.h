#pragma once
// What "Otwórz" tells the operator after it has loaded a goods list: the
// lines it skipped and the names it cut, or that the file held no goods.
#include <QString>
#include <cstddef>

#include "console/files/GoodsFile.h"

namespace varmo {

// One box's text: how many goods came from the file, how many lines were
// skipped and names cut, and the first few of those lines with the reason
// for each; that the file holds no goods when none came. Empty when the
// load took every line as it stood.
QString GoodsLoadMessage(const QString& path, std::size_t loaded, const GoodsFileNotes& notes);

}  // namespace varmo
