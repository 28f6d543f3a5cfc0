#include "link/ComDataPacket.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace varmo {

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameByte(char a, char b, bool caseInsensitive)
{
    return caseInsensitive ? upper(a) == upper(b) : a == b;
}

// First occurrence of what in text at or after from, wholly before end; npos
// when what is empty, since an empty start or stop string marks nothing.
std::size_t findIn(const std::string& text, const std::string& what, bool caseInsensitive,
                   std::size_t from = 0, std::size_t end = std::string::npos)
{
    end = std::min(end, text.size());
    if (what.empty())
        return std::string::npos;
    if (!caseInsensitive) {
        const std::size_t p = text.find(what, from);
        return (p != std::string::npos && p + what.size() <= end) ? p : std::string::npos;
    }
    for (std::size_t p = from; p + what.size() <= end; ++p) {
        std::size_t i = 0;
        while (i < what.size() && sameByte(text[p + i], what[i], caseInsensitive))
            ++i;
        if (i == what.size())
            return p;
    }
    return std::string::npos;
}

// Where a search for what in text of this size resumes once it has found
// nothing up to the end: the first place a match could still begin.
std::size_t resumeAfter(std::size_t size, const std::string& what, std::size_t searchedFrom)
{
    if (what.empty() || size < what.size())
        return searchedFrom;
    return std::max(searchedFrom, size - what.size() + 1);
}

// Calls a handler and keeps the first exception it throws, so that one failing
// answer does not hold back the frames that came with it in the same chunk.
void callKeepingError(const std::function<void(const std::string&)>& handler,
                      const std::string& bytes, std::exception_ptr& firstError)
{
    if (!handler)
        return;
    try {
        handler(bytes);
    } catch (...) {
        if (!firstError)
            firstError = std::current_exception();
    }
}

}  // namespace

TComDataPacket::TComDataPacket()
{
    link_.OnRxBuf = [this](const std::string& chunk) { HandleData(chunk); };
    link_.OnPortDestroyed = [this] { port_ = nullptr; };
}

TComDataPacket::~TComDataPacket()
{
    if (port_) {
        try {
            port_->UnregisterLink(&link_);
        } catch (...) {
            // Nothing sensible to do while going away; the port forgets us anyway.
        }
    }
}

void TComDataPacket::SetComPort(TCustomComPort* port)
{
    if (port == port_)
        return;
    if (port_) {
        TCustomComPort* old = port_;
        port_ = nullptr;
        old->UnregisterLink(&link_);
    }
    if (port) {
        port->RegisterLink(&link_);
        port_ = port;
    }
}

void TComDataPacket::SetStartString(const std::string& value)
{
    if (value == start_)
        return;
    start_ = value;
    emptyBuffer();
}

void TComDataPacket::SetStopString(const std::string& value)
{
    if (value == stop_)
        return;
    stop_ = value;
    emptyBuffer();
}

void TComDataPacket::SetSize(std::int32_t value)
{
    if (value == size_)
        return;
    size_ = value;
    emptyBuffer();
}

void TComDataPacket::SetCaseInsensitive(bool value)
{
    if (value == caseInsensitive_)
        return;
    caseInsensitive_ = value;
    emptyBuffer();
}

std::size_t TComDataPacket::findNew(const std::string& what)
{
    const std::size_t p = findIn(buffer_, what, caseInsensitive_, scanned_);
    if (p == std::string::npos)
        scanned_ = resumeAfter(buffer_.size(), what, scanned_);
    return p;
}

std::size_t TComDataPacket::lastStartBefore(std::size_t stopAt) const
{
    std::size_t last = std::string::npos;
    for (std::size_t q = 1;; ++q) {
        q = findIn(buffer_, start_, caseInsensitive_, q, stopAt);
        if (q == std::string::npos)
            return last;
        last = q;
    }
}

void TComDataPacket::discard(std::string bytes)
{
    std::exception_ptr error;
    if (!bytes.empty())
        callKeepingError(OnDiscard, bytes, error);
    if (error)
        std::rethrow_exception(error);
}

void TComDataPacket::emptyBuffer()
{
    std::string old = std::move(buffer_);
    buffer_.clear();
    inPacket_ = false;
    scanned_ = 0;
    discard(std::move(old));
}

std::string TComDataPacket::DropPartial()
{
    std::string old = buffer_;
    emptyBuffer();
    return old;
}

void TComDataPacket::HandleData(const std::string& chunk)
{
    if (stop_.empty() && size_ <= 0) {
        // Nothing marks an end: every chunk is a packet of its own.
        if (OnPacket && !chunk.empty())
            OnPacket(chunk);
        return;
    }

    buffer_ += chunk;
    std::exception_ptr firstError;
    for (;;) {
        if (!inPacket_) {
            if (!start_.empty()) {
                const std::size_t p = findNew(start_);
                if (p == std::string::npos)
                    break;
                if (p > 0) {
                    std::string before = buffer_.substr(0, p);
                    buffer_.erase(0, p);
                    scanned_ = 0;
                    callKeepingError(OnDiscard, before, firstError);
                }
            }
            inPacket_ = true;
            // The stop string is looked for from the packet's first byte.
            scanned_ = 0;
        }

        std::size_t length = 0;
        if (size_ > 0 && buffer_.size() >= static_cast<std::size_t>(size_)) {
            length = static_cast<std::size_t>(size_);
        } else {
            std::size_t p = findNew(stop_);
            if (p == std::string::npos)
                break;
            // A frame cut short (the line dropped, the port closed mid-answer)
            // leaves its start behind; a later start before this stop begins
            // the frame that is really ending here, so deliver that one whole.
            const std::size_t restart = lastStartBefore(p);
            if (restart != std::string::npos) {
                std::string stale = buffer_.substr(0, restart);
                buffer_.erase(0, restart);
                scanned_ = 0;
                p -= restart;
                callKeepingError(OnDiscard, stale, firstError);
            }
            length = p + stop_.size();
        }

        std::string packet = buffer_.substr(0, length);
        buffer_.erase(0, length);
        inPacket_ = false;
        scanned_ = 0;
        if (!IncludeStrings) {
            if (!start_.empty() && findIn(packet, start_, caseInsensitive_) == 0)
                packet.erase(0, start_.size());
            // The stop string is cut only when its first occurrence is what
            // ends the packet (a fixed-size packet may merely contain it).
            if (!stop_.empty() && packet.size() >= stop_.size()) {
                const std::size_t p = findIn(packet, stop_, caseInsensitive_);
                if (p != std::string::npos && p + stop_.size() == packet.size())
                    packet.erase(p);
            }
        }
        callKeepingError(OnPacket, packet, firstError);
    }

    // The cut above comes first, so a frame completed by the chunk that takes
    // the buffer past its limit is still delivered.
    if (MaxBufferSize > 0 && buffer_.size() >= static_cast<std::size_t>(MaxBufferSize)) {
        std::string old = std::move(buffer_);
        buffer_.clear();
        inPacket_ = false;
        scanned_ = 0;
        callKeepingError(OnDiscard, old, firstError);
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

}  // namespace varmo
