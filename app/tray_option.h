// Minimize to Tray (command 3402): whether minimising hides the main window into the
// notification area. Portable (settings and menu seams).
#pragma once

// Inverts the tray option, writes the setting "tray" as "1" or "0" and sets the menu item's
// check mark. The change applies from the next minimise on.
void OnTrayOptionCommand();
