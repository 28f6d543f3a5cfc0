#pragma once
// A printer that listens at one speed only. When the line runs at any other
// speed, its receiver samples the bits at the wrong moments: every byte comes
// in as some other byte, and what it sends comes out as some other byte at
// the far end. Noise, but the same noise for the same two speeds, so that a
// test meets it again.
#include <cstdint>
#include <string>

namespace varmo {

// The bytes as they arrive when sent at sentAt and heard at heardAt; as they
// are when the two speeds agree (or either is 0: any speed is heard).
std::string AtLineSpeed(const std::string& bytes, std::int64_t sentAt, std::int64_t heardAt);

}  // namespace varmo
