#include "console/base/CommandHistoryList.h"

namespace varmo {

TCommand* CommandHistoryList::Add(std::unique_ptr<TCommand> command)
{
    if (!command)
        return Current();
    commands_.push_back(std::move(command));
    while (commands_.size() > capacity_)
        commands_.pop_front();
    return commands_.back().get();
}

TCommand* CommandHistoryList::Current() const
{
    return commands_.empty() ? nullptr : commands_.back().get();
}

TCommand* CommandHistoryList::Find(const TCommand* command) const
{
    for (auto it = commands_.rbegin(); command != nullptr && it != commands_.rend(); ++it)
        if (it->get() == command)
            return it->get();
    return nullptr;
}

}  // namespace varmo
