#include "console/dialogs/other/BookSource.h"

#include <QLabel>

#include "console/base/HandlerGuard.h"
#include "console/dialogs/ConsoleBook.h"

namespace varmo {

BookSource::BookSource(ConsoleBook& book, QLabel* label, QObject* context,
                       std::function<void()> refresh)
    : book_(book), label_(label), context_(context), refresh_(std::move(refresh))
{
}

void BookSource::Shown()
{
    book::BackgroundSync* sync = book_.Sync();
    if (sync && sync != connected_) {
        connected_ = sync;
        QObject::connect(sync, &book::BackgroundSync::changed, context_, [this] {
            Guarded([&] {
                if (!connected_ || connected_ != book_.Sync())
                    return;
                said();
                if (connected_->State().copied > 0)
                    refresh_();
            });
        });
    }
    said();
    book_.SyncNow();
}

void BookSource::said()
{
    book::BackgroundSync* sync = book_.Sync();
    label_->setVisible(sync != nullptr);
    if (!sync)
        return;
    label_->setText(sync->Attempts() == 0 ? QStringLiteral("serwer: łączenie…")
                                          : book::SourceText(sync->State()));
}

}  // namespace varmo
