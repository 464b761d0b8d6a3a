// Key codes and shift states as the Glimmet events report them (the original
// platform's virtual-key codes: 32 space, 37-40 arrows, 45 Insert, 46 Delete...).
#pragma once

#include <Qt>

#include "glimmet_export.h"

namespace glimmet {

// The virtual-key code of a Qt key, 0 when it has none.
GLIMMET_EXPORT short VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Shift state: 1 Shift, 2 Ctrl, 4 Alt, added together.
GLIMMET_EXPORT short ShiftStateOf(Qt::KeyboardModifiers modifiers);
// Mouse buttons: 1 left, 2 right, 4 middle, added together.
GLIMMET_EXPORT short MouseButtonsOf(Qt::MouseButtons buttons);

}  // namespace glimmet
