// Sizes of the system's structures, which differ between the 32-bit and the 64-bit program
// (pointers and handles take 4 or 8 bytes). Each Win32 file that hands the system a structure, or
// a structure's size, checks it at compile time against the size the system documents for the
// build, so that a wrong size fails the build rather than a call at run time. Win32 only.
#pragma once
#include <stddef.h>

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "WordHatch is a 32-bit or a 64-bit Windows program");

// The documented size for this build: `size32` in the 32-bit program, `size64` in the 64-bit one.
constexpr size_t Win32BuildSize(size_t size32, size_t size64) { return sizeof(void*) == 8 ? size64 : size32; }
