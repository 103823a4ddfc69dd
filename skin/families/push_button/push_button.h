// Push buttons ("Button" and the command-button classes): drawn entirely by the skin from four
// faces, each change of state fading in on a 15 ms timer. Buttons of the check-box and option
// types keep the system's drawing and only run through the same state keeping.
#pragma once

#include "engine/family.h"

extern const Family kPushButtonFamily;
