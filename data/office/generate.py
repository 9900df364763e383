#!/usr/bin/env python3
"""Writes the in-memory Office's content files (excel.json, word.json, ...) beside this script.

Run it after changing a content_*.py module and commit the regenerated .json files with it:

    python3 data/office/generate.py          # write the files and print what each host holds
    python3 data/office/generate.py --check  # fail if a committed file differs from what would be written
"""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep the data folder free of __pycache__

import content_access  # noqa: E402
import content_excel  # noqa: E402
import content_outlook  # noqa: E402
import content_powerpoint  # noqa: E402
import content_vbe  # noqa: E402
import content_word  # noqa: E402
from officegen import count_controls, max_depth  # noqa: E402

HOSTS = [
    ("excel.json", content_excel),
    ("word.json", content_word),
    ("powerpoint.json", content_powerpoint),
    ("access.json", content_access),
    ("outlook.json", content_outlook),
    ("vbe.json", content_vbe),
]

POPUP_TYPES = {10, 11, 12, 13, 14}
LIST_TYPES = {3, 4}
CONTROL_TYPES = {1, 2} | LIST_TYPES | POPUP_TYPES


class ContentError(Exception):
    pass


def check_control(c, where):
    if not isinstance(c.get("id"), int) or c["id"] < 1:
        raise ContentError(f"{where}: a built-in control needs a positive integer id")
    t = c.get("type", 1)
    if t not in CONTROL_TYPES:
        raise ContentError(f"{where}: control type {t} is not one the format knows")
    if "controls" in c and t not in POPUP_TYPES:
        raise ContentError(f"{where}: only popups hold sub items")
    if t in POPUP_TYPES and "controls" not in c:
        raise ContentError(f"{where}: a popup needs its controls list, even an empty one")
    if "items" in c and t not in LIST_TYPES:
        raise ContentError(f"{where}: only combo boxes and drop-downs have items")
    for key in ("faceId", "style", "shortcutText"):
        if key in c and t != 1:
            raise ContentError(f"{where}: {key} belongs to buttons only")
    if t == 1 and not 0 <= c.get("faceId", 0) <= 32767:
        raise ContentError(f"{where}: FaceId out of range")
    if any(item == "" for item in c.get("items", [])):
        raise ContentError(f"{where}: a list item may not be empty")
    for i, sub in enumerate(c.get("controls", [])):
        check_control(sub, f"{where}.controls[{i}]")


def check_host(data, file_name):
    app = data["application"]
    if not app.get("name") or not app.get("windowClass"):
        raise ContentError(f"{file_name}: application needs a name and a windowClass")
    for i, b in enumerate(data["commandBars"]):
        where = f"{file_name}: commandBars[{i}] ({b['name']})"
        if b.get("type", 0) not in (0, 1, 2) or not 0 <= b.get("position", 1) <= 5:
            raise ContentError(f"{where}: bad type or position")
        if b.get("type") == 2 and (b.get("visible") or b.get("position") != 5):
            raise ContentError(f"{where}: a shortcut menu sits at position 5 and is never visible")
        if b.get("visible") and b.get("enabled") is False:
            raise ContentError(f"{where}: a disabled bar cannot be visible")
        for j, c in enumerate(b["controls"]):
            check_control(c, f"{where}.controls[{j}]")


def render(module):
    data = module.host()
    return data, json.dumps(data, ensure_ascii=False, indent=1) + "\n"


def summary(file_name, data):
    bars = data["commandBars"]
    controls = sum(count_controls(b["controls"]) for b in bars)
    depth = max(max_depth(b["controls"]) for b in bars)
    kinds = {t: sum(1 for b in bars if b.get("type", 0) == t) for t in (0, 1, 2)}
    return (f"{file_name:16} {len(bars):4} bars ({kinds[1]} menu bars, {kinds[0]} toolbars, {kinds[2]} shortcut "
            f"menus), {controls:5} controls, popups nest {depth} deep")


def main(argv):
    check_only = "--check" in argv
    stale = []
    for file_name, module in HOSTS:
        data, text = render(module)
        check_host(data, file_name)
        path = os.path.join(HERE, file_name)
        if check_only:
            with open(path, encoding="utf-8") as f:
                if f.read() != text:
                    stale.append(file_name)
        else:
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
        print(summary(file_name, data))
    if stale:
        print("out of date: " + ", ".join(stale) + " (run generate.py)")
        return 1
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except ContentError as e:
        print(e, file=sys.stderr)
        sys.exit(2)
