"""The main menu of WordHatch as resources/WordHatch.rc declares it, and a way to compare a menu
read by the probe against it."""

SEPARATOR = ("-", 0)

# (popup text, [(item text, command id) or SEPARATOR]) in the order of the menu bar.
MAIN_MENU = [
    ("&File", [
        ("&Open...", 3101),
        ("&Save", 3102),
        ("Save &As...", 3103),
        SEPARATOR,
        ("E&xit", 3104),
    ]),
    ("&Edit", [
        ("&Undo\tCtrl+Z", 3201),
        SEPARATOR,
        ("Cu&t\tCtrl+X", 3202),
        ("&Copy\tCtrl+C", 3203),
        ("&Paste\tCtrl+V", 3204),
        ("Clear\tDel", 3205),
        SEPARATOR,
        ("Select &All", 3206),
    ]),
    ("&Options", [
        ("&Auto-start at Login", 3401),
        ("&Minimize to Tray", 3402),
        SEPARATOR,
        ("Choose &Font...", 3403),
        SEPARATOR,
        ("&Remove Clipboard Formatting", 3198),
        ("&Track Mouse", 3404),
        ("Show Total &Automations", 3197),
        SEPARATOR,
        ("&Suspend", 3405),
    ]),
    ("&Help", [
        ("&Help Reference", 3501),
        SEPARATOR,
        ("Go to WordHatch &website", 3503),
        ("&About WordHatch...", 3502),
    ]),
]


def menu_tree(items):
    """Turns the probe's flat menu lines into the shape of MAIN_MENU.

    Items nested deeper than one popup, or items directly on the bar, keep their path so that a
    comparison with MAIN_MENU shows them instead of losing them."""
    tree = []
    popups = {}
    for item in items:
        parts = item.path.split("/")
        if len(parts) == 1:
            if item.kind == "popup":
                popups[parts[0]] = []
                tree.append((item.text, popups[parts[0]]))
            else:
                tree.append(("not a popup: %s %r" % (item.kind, item.text), item.id))
        elif len(parts) == 2 and parts[0] in popups:
            if item.kind == "separator":
                popups[parts[0]].append(SEPARATOR)
            elif item.kind == "item":
                popups[parts[0]].append((item.text, item.id))
            else:
                popups[parts[0]].append(("nested popup %r" % item.text, item.id))
        else:
            tree.append(("unexpected item at %s: %r" % (item.path, item.text), item.id))
    return tree
