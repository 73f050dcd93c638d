"""The program as a screen reader meets it through AT-SPI: the main menu and the import window
it opens, by role and name, with names free of the characters that lay captions out, and no
more than one object claiming the focus. Usage: screen_reader_tree.py PROGRAM"""

import re
import subprocess
import sys
import time

import pyatspi

LAYOUT = re.compile(r"\u3000|<<|>>|^(\S )+\S$")


def wait_for(what, find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    raise AssertionError(f"{what} not found within {seconds} s")


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def walk(node):
    yield node
    for child in children(node):
        if child is not None:
            yield from walk(child)


def application(pid):
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def frame_named(app, name):
    for window in children(app):
        if window is not None and window.name == name:
            return window
    return None


def controls(window):
    """(role, name) of every showing object below the window."""
    return {(node.getRoleName(), node.name) for node in walk(window)
            if node is not window and node.getState().contains(pyatspi.STATE_SHOWING)}


def check_window(window, role, expected):
    faults = []
    if window.getRoleName() != role:
        faults.append(f"{window.name}: role {window.getRoleName()}, not {role}")
    found = controls(window)
    faults += [f"{window.name}: no {role_} named {name!r}" for role_, name in expected
               if (role_, name) not in found]
    faults += [f"{window.name}: {role_} {name!r} carries layout characters"
               for role_, name in found | {(window.getRoleName(), window.name)}
               if LAYOUT.search(name)]
    faults += [f"{window.name}: {role_} without a name" for role_, name in found
               if role_ in ("text", "list", "table", "label", "push button") and not name]
    return faults


def main():
    program = subprocess.Popen([sys.argv[1]])
    faults = []
    try:
        app = wait_for("the program on the accessibility bus", lambda: application(program.pid))
        menu = wait_for("the main menu", lambda: frame_named(app, "セット商品在庫照会"))
        faults += check_window(menu, "frame", [
            ("push button", "商品・在庫情報EXCEL取込"),
            ("push button", "在庫照会"),
            ("push button", "終了"),
        ])
        import_button = next(node for node in walk(menu) if node.name == "商品・在庫情報EXCEL取込")
        import_button.queryAction().doAction(0)
        window = wait_for("the import window", lambda: frame_named(app, "商品・在庫データ抽出"))
        faults += check_window(window, "frame", [
            ("text", "商品・在庫情報のＥＸＣＥＬファイルを選択する"),
            ("push button", "参照"),
            ("push button", "EXCELデータ取込"),
            ("push button", "戻る"),
            ("label", "商品マスタ取込件数"),
            ("label", "在庫マスタ取込件数"),
            ("label", "総件数"),
        ])
        focused = [node.name for node in walk(app)
                   if node.getState().contains(pyatspi.STATE_FOCUSED)]
        if len(focused) > 1:
            faults.append(f"several objects claim the focus: {focused}")
    except AssertionError as missing:
        faults.append(str(missing))
    finally:
        program.terminate()
        program.wait(10)
    for fault in faults:
        print("FAIL:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
