// The auto-start value: "WordHatch" under the current user's Run key.
#pragma once

// True when the value exists and is not empty.
bool IsAutoStartSet();
