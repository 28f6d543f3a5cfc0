#pragma once
// Every command handed over to the main window, oldest first; the newest is
// the current command. The window owns them as its CommandHistory. An operator can hand over commands all day, so only the
// last 10000 are kept and the oldest go first.
#include <cstddef>
#include <deque>
#include <memory>

#include "protocol/Command.h"

namespace varmo {

class CommandHistoryList {
public:
    static constexpr std::size_t kCapacity = 10000;

    explicit CommandHistoryList(std::size_t capacity = kCapacity)
        : capacity_(capacity == 0 ? 1 : capacity) {}

    // Takes the command and makes it current; returns it.
    TCommand* Add(std::unique_ptr<TCommand> command);

    // The newest command, or nullptr before the first.
    TCommand* Current() const;

    std::size_t Count() const { return commands_.size(); }
    std::size_t Capacity() const { return capacity_; }
    // Oldest first; index 0 is the oldest kept.
    TCommand* At(std::size_t index) const { return commands_.at(index).get(); }
    // The command itself when it is still kept, else nullptr (gone with the
    // oldest, or never here).
    TCommand* Find(const TCommand* command) const;

private:
    std::size_t capacity_;
    std::deque<std::unique_ptr<TCommand>> commands_;
};

}  // namespace varmo
