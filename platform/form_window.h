// Fill-in form seam: the core opens the form that asks for an output's fields (gForm); the form
// reports back later: SetFieldAnswer (forms/field_form.h) for each field, then the watcher's
// PlayAcceptedForm, or TypeBackCancelledForm (watcher/expansion.h), once the window that was in
// front has the focus again.
#pragma once

#include "platform/top_windows.h"

// Opens the form for gForm's fields, titled gForm.title, always on top, centred on `previous`
// within its monitor's work area and sized for its DPI: one row per field (its name as the label;
// an edit box holding an input's default, or a drop-down list of a choice's values with the first
// selected), and OK and Cancel. The first field has the keyboard focus, its text selected, before
// the form can be found by its title. Tab and Shift+Tab move between fields, Enter accepts,
// Escape cancels. A form still open is closed first, its answers not given. Returns at once;
// false when the form could not be made.
bool PlatformOpenFieldForm(WindowHandle previous);
