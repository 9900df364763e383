"""Small builders for the in-memory Office's content files.

Each host module describes its bars with these helpers; generate.py writes the JSON. Only values that differ
from the format's defaults are written, so the files stay readable and a changed default in the loader does not
silently disagree with an explicit value here.
"""

import copy

GROUP = "-"  # in seq(): the next control starts a group (a separator line before it)


def B(id, cap, sc="", g=False, face=None, on=True, vis=True, style=0, tip="", action="", tag=""):
    """A built-in button. Office reports most built-in buttons with the FaceId equal to the ID."""
    c = {"type": 1, "id": id, "caption": cap, "faceId": id if face is None else face}
    if style:
        c["style"] = style
    if sc:
        c["shortcutText"] = sc
    _common(c, g, on, vis, tip)
    if action:
        c["onAction"] = action
    if tag:
        c["tag"] = tag
    return c


def P(id, cap, kids, g=False, t=10, on=True, vis=True, tip=""):
    """A popup (type 10, or 11..14 for the other popup kinds) with its sub items."""
    c = {"type": t, "id": id, "caption": cap}
    _common(c, g, on, vis, tip)
    c["controls"] = seq(*kids)
    return c


def CB(id, cap, items, text="", t=4, g=False, width=None, on=True, vis=True, tip=""):
    """A combo box (4) or drop-down (3) with its list."""
    c = {"type": t, "id": id, "caption": cap}
    _common(c, g, on, vis, tip)
    if width:
        c["width"] = width
    c["items"] = list(items)
    if text:
        c["text"] = text
    return c


def E(id, cap, text="", g=False, width=None, on=True, vis=True, tip=""):
    """An edit box (type 2)."""
    c = {"type": 2, "id": id, "caption": cap}
    _common(c, g, on, vis, tip)
    if width:
        c["width"] = width
    if text:
        c["text"] = text
    return c


def _common(c, g, on, vis, tip):
    if g:
        c["beginGroup"] = True
    if not on:
        c["enabled"] = False
    if not vis:
        c["visible"] = False
    if tip:
        c["tooltipText"] = tip


def seq(*xs):
    """Flatten controls (lists are spliced in); GROUP marks a separator before the next control.

    Every control is deep-copied so that a menu shared by two bars (Built-in Menus copies the main menus)
    never aliases one dict, which would make an edit of one file's structure leak into another bar.
    """
    flat = []
    for x in xs:
        flat.extend(x if isinstance(x, list) else [x])
    out = []
    pending = False
    for x in flat:
        if x == GROUP:
            pending = True
            continue
        c = copy.deepcopy(x)
        if pending:
            c["beginGroup"] = True
            pending = False
        out.append(c)
    return out


def bar(name, local, controls, type=0, pos=None, vis=False, on=True):
    # Type and position are always written: a reader of the file should not need the format's defaults.
    b = {"name": name, "nameLocal": local, "type": type}
    b["position"] = (5 if type == 2 else 1) if pos is None else pos
    if vis:
        b["visible"] = True
    if not on:
        b["enabled"] = False
    b["controls"] = seq(*controls)
    return b


def shortcut(name, local, controls, on=True):
    return bar(name, local, controls, type=2, pos=5, on=on)


def toolbar(name, local, controls, pos=1, vis=False, on=True):
    return bar(name, local, controls, type=0, pos=pos, vis=vis, on=on)


def count_controls(controls):
    n = 0
    for c in controls:
        n += 1
        n += count_controls(c.get("controls", []))
    return n


def max_depth(controls, d=1):
    best = 0
    for c in controls:
        best = max(best, d)
        if c.get("controls"):
            best = max(best, max_depth(c["controls"], d + 1))
    return best
