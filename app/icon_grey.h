// The greyed look of an icon, shown in the notification area while Suspend is on. Portable: the
// pixels arrive as 32-bit values 0xAARRGGBB, the layout of a 32-bit DIB section's rows.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The darkest grey of a greyed icon: black turns into it, white stays white, so the picture
// stays readable but looks faded.
const uint32_t kGreyFloor = 0x60;

// Turns `count` colour pixels into light greys that keep their lightness order and their
// opacity. An icon whose colour pixels all have a zero alpha byte has no alpha channel: its
// transparency is in the mask, whose pixels (`mask`, the same count; nonzero where the icon is
// transparent) then give the opacity, none or full. The result always holds an alpha channel, so
// that it covers the icon shown before it wholly (the notification area may draw one image on
// the other).
void GreyIconPixels(uint32_t* colour, const uint32_t* mask, size_t count);
