#pragma once

#include <cstdint>
#include <functional>

class TObject;

enum TShiftFlag : std::uint8_t {
  ssShift = 1 << 0,
  ssAlt = 1 << 1,
  ssCtrl = 1 << 2,
  ssLeft = 1 << 3,
  ssRight = 1 << 4,
  ssMiddle = 1 << 5,
  ssDouble = 1 << 6,
};
// Which modifier keys and mouse buttons are held: a set of TShiftFlag bits.
using TShiftState = std::uint8_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
