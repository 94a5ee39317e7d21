// Mouse commands of the output language: "{click" and "{mouse_return}".
#pragma once
#include <stdint.h>

// "{click": `argument` is the output from the token's eighth character on and `length` the
// number of characters from there to the end of the output (0 when the token ends the output).
// Clicks left, right ("right") or twice ("dbl") at x, y from the foreground window's frame.
void ClickCommand(const char* argument, int32_t length);

// "{mouse_return}": puts the cursor back where it was when the output started.
void MouseReturnCommand();
