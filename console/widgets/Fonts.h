#pragma once
// Fonts of the console: frames are shown in a fixed-pitch font so that every
// byte of a frame lines up.
#include <QFont>

namespace varmo {

QFont FrameFont();

}  // namespace varmo
