// The link cursor, made from the program's own picture of a pointing hand.
#include "app/link_cursor.h"

#include "app/link_cursor_shape.h"

HCURSOR CreateLinkCursor(HINSTANCE instance) {
  CursorPlanes planes = LinkCursorPlanes();
  return CreateCursor(instance, kLinkCursorHotX, kLinkCursorHotY, kCursorSide, kCursorSide, planes.andPlane,
                      planes.xorPlane);
}
