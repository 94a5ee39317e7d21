// The fake's keyboard layouts: the US, German and French layouts as Windows answers for their
// keys (ToUnicodeEx), for the key poller's tables.
#pragma once
#include "platform/keyboard_layout.h"
#include "tests/unit/fake_platform.h"

// How many key texts have been asked for since FakeReset or the last FakeForgetKeyTextQueries;
// the layout of the window in front is gFake.foregroundLayout.
int FakeKeyTextQueries();
void FakeForgetKeyTextQueries();
