#pragma once
// The printer's frame: ESC 'P', body, two hex digits of the check value, ESC '\'.
#include <cstddef>
#include <string>

namespace varmo {

constexpr char kESC = '\x1B';
constexpr char kCR = '\x0D';
constexpr char kENQ = '\x05';
constexpr char kDLE = '\x10';
constexpr char kCAN = '\x18';

inline const std::string kFrameStart{kESC, 'P'};
inline const std::string kFrameStop{kESC, '\\'};

// 0xFF XOR every body byte, as exactly two upper-case hexadecimal digits.
std::string FrameChecksum(const std::string& body);

// ESC 'P' + body + FrameChecksum(body) + ESC '\'. The body is taken as given.
std::string FrameOf(const std::string& body);

// What an assembler cut from between start and stop, as the whole frame.
std::string Framed(const std::string& content);

// The most the printer takes between a frame's start and stop; it drops a
// longer frame unheard.
constexpr std::size_t kMaxFrameContent = 2048;

// Whether a whole frame ends in the right check value of its body.
bool CheckValueRight(const std::string& frame);

}  // namespace varmo
