// Shared helpers of the fuzz targets: a clean core and fake for every input, the input split
// into parts, a real file for the inputs that are trigger files, the player's ticks, and checks
// that end the run as a finding.
//
// Every target defines LLVMFuzzerTestOneInput; libFuzzer calls it in the fuzz build, and
// tests/fuzz/replay_main.cpp calls it on the stored corpus in the host build.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Ends the run with a message naming the broken expectation, so the input is kept as a finding.
#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : FuzzFail(__FILE__, __LINE__, #condition))
[[noreturn]] void FuzzFail(const char* file, int line, const char* condition);

// The settings file that the pick list and the expansion read.
extern const char kFuzzSettingsPath[];

// Starts an input: releases what the last one left, clears every state record, and resets the
// fake to a scripted desktop (a few windows, startable files, folders, environment variables and
// a packed default trigger text).
void FuzzBegin();

// Ends an input: checks that every file opened was closed, and releases the trigger table, the
// output, the pick list and the fake's records, so that a block the core lost shows as a leak.
void FuzzEnd();

// The bytes of an input, taken from the front.
struct FuzzInput {
  const uint8_t* data;
  size_t size;
};

// The next byte, 0 when none is left.
uint8_t TakeByte(FuzzInput* input);

// The next `count` bytes (fewer when the input is shorter).
std::string TakeBytes(FuzzInput* input, size_t count);

// What is left of the input.
std::string TakeRest(FuzzInput* input);

// Writes `bytes` as the trigger file in this process's temporary folder and returns its path.
const char* WriteTriggerFile(const std::string& bytes);

// Plays the output handed to the player tick by tick while the play timer is armed, clearing
// the fake's record before each tick. A player still armed after `maxTicks` ticks is a finding;
// so is an end that leaves the output, pending keys or a stopped key poller behind.
void PlayToEnd(int32_t maxTicks);
