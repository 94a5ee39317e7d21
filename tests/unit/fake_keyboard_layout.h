// The fake's keyboard layouts: the US, German and French layouts as Windows answers for their
// keys (ToUnicodeEx), for the key poller's tables.
#pragma once
#include "platform/keyboard_layout.h"

const KeyboardLayoutId kFakeLayoutUs = 0x04090409;
const KeyboardLayoutId kFakeLayoutGerman = 0x04070407;
const KeyboardLayoutId kFakeLayoutFrench = 0x040C040C;

// The layout of the window in front from now on (FakeReset sets the US layout), and how many
// key texts have been asked for so far.
void FakeUseKeyboardLayout(KeyboardLayoutId layout);
int FakeKeyTextQueries();
