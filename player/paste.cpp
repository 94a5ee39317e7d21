// The paste of a long run (see paste.h). The paste is never guessed: the run is handed over only
// when a window asks for it, and the user's clipboard goes back right after, with no fixed delay.
#include "player/paste.h"

#include "common/heap.h"
#include "common/state.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/ui.h"
#include "player/clipboard_copy.h"
#include "player/keystrokes.h"
#include "player/output_player.h"
#include "triggers/key_names.h"

const uint8_t kVkPasteLetter = 0x56;  // V
// The window that read the text may hold the clipboard a moment longer; it is tried again this
// often, and after this long past the wait the user's clipboard is given up on.
const uint32_t kReopenIntervalMs = 1;
const uint32_t kReopenGiveUpMs = 5000;
// At the end of the run the clipboard is tried a few times, this far apart.
const int kExitTries = 10;
const uint32_t kExitTryIntervalMs = 20;

static PasteState& Paste() { return gPlayer.paste; }

static void ResetPaste() {
  ForgetSavedClipboard(&Paste().saved);
  FreeAndForget(Paste().text);
  Paste().length = 0;
  Paste().savedDropped = false;
  Paste().stage = kPasteIdle;
}

// With the clipboard open: the user's content is copied, and the run offered in its place.
static bool OfferRun() {
  if (!SaveClipboard(&Paste().saved)) return false;
  if (PlatformOfferTextLater()) return true;
  // The offer emptied the clipboard: what was saved goes straight back.
  RestoreClipboard(&Paste().saved);
  return false;
}

bool BeginPaste(char* text, uint32_t length) {
  // Saving the clipboard can take long (an owner renders a large range or a picture only when
  // asked): the keys queued before, the erase among them, go out first, so that keys the user
  // types meanwhile come after them and are not erased in the abbreviation's place.
  FlushKeyEvents();
  ResetPaste();
  Paste().text = text;
  Paste().length = length;
  if (!PlatformOpenClipboard()) {
    ResetPaste();
    return false;
  }
  bool offered = OfferRun();
  PlatformCloseClipboard();
  if (!offered) {
    ResetPaste();
    return false;
  }
  Paste().stage = kPasteWaiting;
  Paste().sentAt = PlatformTickCount();
  SendKey(kVkControl, kKeyDownOnly);
  SendKey(kVkPasteLetter, kKeyPressRelease);
  SendKey(kVkControl, kKeyUpOnly);
  return true;
}

bool PasteUnderWay() { return Paste().stage != kPasteIdle; }

void RenderPastedText() {
  if (Paste().stage != kPasteWaiting) return;
  // A clipboard monitor reads every new content as soon as it is offered, before the window in
  // front pastes it: it gets nothing (the offer is marked for monitors to leave alone), and the
  // paste is waited for still. Handed to it, the text would be back off the clipboard before the
  // window pasted, and the window would paste the user's clipboard.
  if (!PlatformClipboardReaderMayBeInFront()) return;
  bool handed = PlatformRenderOfferedText(Paste().text, Paste().length);
  Paste().stage = handed ? kPasteRendered : kPasteLost;
  // The user's clipboard goes back as soon as the reader lets go of it.
  PlatformStartTimer(kPlayTimerId, 0);
}

void OnClipboardTaken() {
  uint8_t stage = Paste().stage;
  if (stage == kPasteIdle || stage == kPasteRestoring) return;
  ForgetSavedClipboard(&Paste().saved);
  Paste().savedDropped = true;
  if (stage == kPasteWaiting) {
    Paste().stage = kPasteLost;
    PlatformStartTimer(kPlayTimerId, 0);
  }
}

// Puts the user's clipboard back; false while another program holds it open.
static bool PutClipboardBack() {
  if (Paste().savedDropped) return true;
  if (!PlatformOpenClipboard()) return false;
  uint8_t stage = Paste().stage;
  Paste().stage = kPasteRestoring;
  RestoreClipboard(&Paste().saved);
  PlatformCloseClipboard();
  Paste().stage = stage;
  return true;
}

PasteOutcome TakePasteOutcome(uint32_t* waitMs) {
  uint32_t waited = PlatformTickCount() - Paste().sentAt;
  if (Paste().stage == kPasteWaiting && waited < kPasteWaitMs) {
    *waitMs = kPasteWaitMs - waited;
    return kPasteGoesOn;
  }
  // The reader may still hold the clipboard: the request for the text can come meanwhile.
  if (!PutClipboardBack() && waited < kPasteWaitMs + kReopenGiveUpMs) {
    *waitMs = kReopenIntervalMs;
    return kPasteGoesOn;
  }
  PasteOutcome outcome = Paste().stage == kPasteRendered ? kPastePasted : kPasteToType;
  ResetPaste();
  return outcome;
}

void EndPasteAtExit() {
  if (!PasteUnderWay()) return;
  for (int tries = 0; tries < kExitTries && !PutClipboardBack(); ++tries) PlatformSleep(kExitTryIntervalMs);
  ResetPaste();
}
