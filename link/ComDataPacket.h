#pragma once
// The packet assembler: cuts the received byte stream into packets between a
// start and a stop string and hands each to OnPacket. Standard C++ only.
#include <cstdint>
#include <functional>
#include <string>

#include "link/ComLink.h"

namespace varmo {

class TComDataPacket {
public:
    TComDataPacket();
    ~TComDataPacket();
    TComDataPacket(const TComDataPacket&) = delete;
    TComDataPacket& operator=(const TComDataPacket&) = delete;

    // Binding connects the assembler's own receiver to the port (nullptr unbinds).
    void SetComPort(TCustomComPort* port);
    TCustomComPort* ComPort() const { return port_; }

    // Changing any of these four to a different value empties the buffer.
    void SetStartString(const std::string& value);
    void SetStopString(const std::string& value);
    void SetSize(std::int32_t value);
    void SetCaseInsensitive(bool value);
    const std::string& StartString() const { return start_; }
    const std::string& StopString() const { return stop_; }
    std::int32_t Size() const { return size_; }
    bool CaseInsensitive() const { return caseInsensitive_; }

    std::int32_t MaxBufferSize = 1024;  // 0: no limit
    bool IncludeStrings = false;

    // Detach by assigning nullptr; packets are then cut and dropped.
    std::function<void(const std::string&)> OnPacket;
    std::function<void(const std::string&)> OnDiscard;

    // One chunk of received bytes.
    void HandleData(const std::string& chunk);
    // Forgets a packet begun but not ended (through OnDiscard) and returns
    // its bytes: what follows it on the line is no part of it.
    std::string DropPartial();

    const std::string& Buffer() const { return buffer_; }
    bool InPacket() const { return inPacket_; }

private:
    void discard(std::string bytes);
    void emptyBuffer();
    // The first occurrence of what in the buffer, looked for only where the
    // last pass could not yet see one: a chunk costs its own length, not the
    // buffer's.
    std::size_t findNew(const std::string& what);
    // Where the last start string before a stop string begins, past the
    // buffer's first byte; npos when there is none.
    std::size_t lastStartBefore(std::size_t stopAt) const;

    TCustomComPort* port_ = nullptr;
    TComLink link_;
    std::string start_;
    std::string stop_;
    std::int32_t size_ = 0;
    bool caseInsensitive_ = false;
    std::string buffer_;
    bool inPacket_ = false;
    // Bytes of the buffer before this offset hold no start of the string
    // being looked for (the start string outside a packet, the stop string
    // inside one). Appending keeps it; anything that shifts the buffer resets it.
    std::size_t scanned_ = 0;
};

}  // namespace varmo
