// The Shift pairs of the US layout: the character each key gives with Shift, above the one it
// gives without. The key poller reads them upwards, the trigger loader downwards; they are the
// US pairs whatever the layout in use.
#pragma once

const char kShiftedKeyChars[] = "~!@#$%^&*()_+{}|:\"<>?";
const char kUnshiftedKeyChars[] = "`1234567890-=[]\\;',./";
static_assert(sizeof kShiftedKeyChars == sizeof kUnshiftedKeyChars, "one shifted character per key");
