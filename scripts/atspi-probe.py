#!/usr/bin/env python3
"""Asks a running Quillmark window over AT-SPI what a screen reader asks of its
result lists: every Table call, in range and out of it, on filled lists, after
Clear All Results, after a second comparison and after one on a key (with the
list of changed lines). Run by scripts/atspi-probe.sh,
which starts the window on an accessibility bus of its own.

    atspi-probe.py PID [CALL...]    only the calls whose name starts with a CALL
    atspi-probe.py PID --text [CALL...]  the text fields instead: every boundary at
                                    every edge offset (pieces before, at and
                                    after it), then the delimiter box's open
                                    list with places outside it
    atspi-probe.py PID --events     what a screen reader hears instead: listens
                                    to the window's events while it moves a row
                                    (Down), checks it (Space) and finds a line

Prints one line a call and its answer (with --events, one line an event).
Exits 0 when every call answered and the window still runs, 1 when the window
died (naming the call that ended it), 2 when the window or its lists could not
be found, 3 when a call got no reply (the window hangs in it).
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

pid = int(sys.argv[1])
wanted = sys.argv[2:]
answered = 0


def alive():
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().split(") ")[1][0] != "Z"
    except OSError:
        return False


def describe(value):
    if isinstance(value, pyatspi.Accessibility.Accessible):
        try:
            return f"<{value.getRoleName()} {value.name!r}>"
        except Exception as error:  # a reference the window no longer knows
            return f"<gone: {type(error).__name__}>"
    if value is None:
        return "null"
    return repr(value)


def error_text(error):
    lines = str(error).splitlines()
    return f"{type(error).__name__}" + (f": {lines[0][:80]}" if lines else "")


def hung(where, name, error):
    """No reply at all: the window is stuck in the call, and stays so."""
    if "Did not receive a reply" in str(error):
        print(f"{where:>9} {name:<32} -> no reply: the window hangs", flush=True)
        print(f"FAIL: the window hangs on {name} ({where})")
        sys.exit(3)


def call(where, name, function):
    """One call through the bridge; the window's death ends the probe."""
    global answered
    if wanted and not any(name.startswith(w) for w in wanted):
        return None
    try:
        value = function()
        text = describe(value)
    except Exception as error:  # an error reply is an answer too
        value, text = None, "error " + error_text(error)
        hung(where, name, error)
    if not alive():
        print(f"{where:>9} {name:<32} -> the window died", flush=True)
        print(f"FAIL: the window ended on {name} ({where})")
        sys.exit(1)
    answered += 1
    print(f"{where:>9} {name:<32} -> {text}", flush=True)
    return value


def find_app():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def find_all(root, predicate):
    found = []
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        try:
            if predicate(node):
                found.append(node)
                continue  # a table's rows are not searched
            # Last child first on the stack: found in the order a reader walks them.
            stack.extend(node[i] for i in reversed(range(node.childCount)))
        except Exception:
            pass
    return found


def press(app, label):
    buttons = find_all(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == label)
    if not buttons:
        print(f"no button {label!r}")
        sys.exit(2)
    buttons[0].queryAction().doAction(0)


def tables_of(app):
    roles = (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE)
    return find_all(app, lambda n: n.getRole() in roles)


def wait_for_rows(app, filled):
    for _ in range(100):
        tables = tables_of(app)
        if tables and all((t.queryTable().nRows > 0) == filled for t in tables[:1]):
            return tables
        time.sleep(0.1)
    print("the lists did not " + ("fill" if filled else "empty"))
    sys.exit(2)


def probe(where, table):
    t = table.queryTable()
    rows = call(where, "nRows", lambda: t.nRows) or 0
    call(where, "nColumns", lambda: t.nColumns)
    call(where, "caption", lambda: t.caption)
    call(where, "summary", lambda: t.summary)
    call(where, "nSelectedRows", lambda: t.nSelectedRows)
    call(where, "getSelectedRows", lambda: t.getSelectedRows())
    call(where, "nSelectedColumns", lambda: t.nSelectedColumns)
    call(where, "getSelectedColumns", lambda: t.getSelectedColumns())
    call(where, "getColumnHeader(0)", lambda: t.getColumnHeader(0))
    call(where, "getColumnDescription(0)", lambda: t.getColumnDescription(0))
    # In range where the list has a second row, then every kind of out of range.
    places = [(1, 0), (0, 0), (-1, 0), (0, -1), (0, 1), (rows, 0), (rows + 1000, 0),
              (2**31 - 1, 0), (-(2**31), -(2**31))]
    for row, column in places:
        at = f"({row},{column})"
        call(where, "getAccessibleAt" + at, lambda: t.getAccessibleAt(row, column))
        call(where, "isSelected" + at, lambda: t.isSelected(row, column))
        call(where, "getRowExtentAt" + at, lambda: t.getRowExtentAt(row, column))
        call(where, "getColumnExtentAt" + at, lambda: t.getColumnExtentAt(row, column))
        call(where, "getIndexAt" + at, lambda: t.getIndexAt(row, column))
    for index in (1, 0, -1, rows, rows + 1000, 2**31 - 1):
        at = f"({index})"
        call(where, "getRowAtIndex" + at, lambda: t.getRowAtIndex(index))
        call(where, "getColumnAtIndex" + at, lambda: t.getColumnAtIndex(index))
        call(where, "getRowColumnExtentsAtIndex" + at,
             lambda: t.getRowColumnExtentsAtIndex(index))
        call(where, "getRowHeader" + at, lambda: t.getRowHeader(index))
        call(where, "getRowDescription" + at, lambda: t.getRowDescription(index))
        call(where, "isRowSelected" + at, lambda: t.isRowSelected(index))
    for column in (0, 1, -1):
        at = f"({column})"
        call(where, "getColumnHeader" + at, lambda: t.getColumnHeader(column))
        call(where, "isColumnSelected" + at, lambda: t.isColumnSelected(column))
    for row in (1, -1, rows + 5):
        call(where, f"addRowSelection({row})", lambda: t.addRowSelection(row))
        call(where, f"removeRowSelection({row})", lambda: t.removeRowSelection(row))


def probe_cell(where, cell):
    """What a screen reader reads of one row: its table cell, name and state."""
    if cell is None:
        return
    call(where, "cell name", lambda: cell.name)
    call(where, "cell states", lambda: sorted(pyatspi.stateToString(s)
                                              for s in cell.getState().getStates()))
    call(where, "cell indexInParent", lambda: cell.getIndexInParent())
    call(where, "cell parent", lambda: cell.parent)
    call(where, "cell interfaces", lambda: sorted(pyatspi.listInterfaces(cell)))
    try:
        c = cell.queryTableCell()
    except Exception as error:
        print(f"{where:>9} {'cell queryTableCell':<32} -> error {error_text(error)}", flush=True)
        return
    call(where, "cell position", lambda: c.position)
    call(where, "cell rowSpan", lambda: c.rowSpan)
    call(where, "cell columnSpan", lambda: c.columnSpan)
    call(where, "cell getRowColumnSpan", lambda: c.getRowColumnSpan())
    call(where, "cell table", lambda: c.table)


# What a screen reader listens to while the list is used.
LISTENED = ("object:state-changed:focused", "object:state-changed:checked",
            "object:state-changed:selected", "object:active-descendant-changed",
            "object:selection-changed", "object:property-change:accessible-name",
            "object:property-change:accessible-description")


def heard(event):
    try:
        if event.host_application is None or event.host_application.get_process_id() != pid:
            return
    except Exception:
        pass
    source = describe(event.source)
    extra = ""
    if event.type.startswith("object:property-change"):
        try:
            extra = " " + repr(event.source.description if event.type.endswith("description")
                               else event.source.name)
        except Exception:
            pass
    if event.type == "object:state-changed:focused" and event.detail1 == 1:
        try:
            states = sorted(pyatspi.stateToString(s) for s in event.source.getState().getStates()
                            if s in (pyatspi.STATE_CHECKED, pyatspi.STATE_CHECKABLE,
                                     pyatspi.STATE_SELECTED))
            extra = " " + ",".join(states)
        except Exception:
            pass
    print(f"    heard {event.type} {event.detail1} {source}{extra}", flush=True)


def pump(seconds):
    """Lets the events come in for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)


def events_run(app):
    press(app, "Start Comparing")
    tables = wait_for_rows(app, True)
    table = tables[0]
    for name in LISTENED:
        pyatspi.Registry.registerEventListener(heard, name)
    pump(1)
    window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(pid), "--name", "."],
                            capture_output=True, text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowactivate", "--sync", window[0]], check=False)
    print(f"focus on the list {table.name!r} ({table.queryTable().nRows} rows)", flush=True)
    table.queryComponent().grabFocus()
    pump(1.5)
    for label, action in (("Down", lambda: key("Down")), ("Space", lambda: key("space")),
                          ("Ctrl+F, fig", lambda: (key("ctrl+f"), pump(0.5), type_text("fig"))),
                          ("Escape", lambda: key("Escape"))):
        print(f"{label}:", flush=True)
        action()
        pump(1.5)
        if not alive():
            print(f"FAIL: the window ended on {label}")
            sys.exit(1)
    print("PASS: the window still runs")
    sys.exit(0)


BOUNDARIES = (("CHAR", pyatspi.TEXT_BOUNDARY_CHAR),
              ("WORD_START", pyatspi.TEXT_BOUNDARY_WORD_START),
              ("WORD_END", pyatspi.TEXT_BOUNDARY_WORD_END),
              ("SENTENCE_START", pyatspi.TEXT_BOUNDARY_SENTENCE_START),
              ("SENTENCE_END", pyatspi.TEXT_BOUNDARY_SENTENCE_END),
              ("LINE_START", pyatspi.TEXT_BOUNDARY_LINE_START),
              ("LINE_END", pyatspi.TEXT_BOUNDARY_LINE_END))
TEXT_ROLES = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT)


def probe_text(where, field):
    """Every boundary at every edge offset: the piece at it is printed, the
    pieces before and after it counted."""
    t = field.queryText()
    length = call(where, "text characterCount", lambda: t.characterCount)
    if length is None:
        return
    call(where, "text getText", lambda: t.getText(0, -1))
    offsets = sorted({-1, 0, length // 2, max(length - 1, 0), length, length + 1})
    for label, boundary in BOUNDARIES:
        for offset in offsets:
            call(where, f"textAt {label} {offset}",
                 lambda: t.getTextAtOffset(offset, boundary))
            for side, ask in (("Before", t.getTextBeforeOffset), ("After", t.getTextAfterOffset)):
                if wanted and not any(f"text{side}".startswith(w) for w in wanted):
                    continue
                try:
                    ask(offset, boundary)
                except Exception as error:
                    print(f"{where:>9} text{side} {label} {offset} -> error {error_text(error)}")
                    hung(where, f"text{side} {label} {offset}", error)
                if not alive():
                    print(f"FAIL: the window ended on text{side} {label} {offset} ({where})")
                    sys.exit(1)


def text_fields_run(app):
    """What a screen reader asks of the text fields as the user moves by
    word or sentence, and of the delimiter box's list once it is open."""
    fields = find_all(app, lambda n: n.getRole() in TEXT_ROLES)
    print(f"{len(fields)} text fields: " + ", ".join(repr(f.name) for f in fields), flush=True)
    for field in fields:
        probe_text(f"{field.name[:9]}", field)
    # A pattern with words, blanks and sentences, and an empty one.
    pattern = [f for f in fields if f.name == "Key Pattern"]
    if pattern:
        editable = pattern[0].queryEditableText()
        for text in ("Text File #1. Two words! Three?", ""):
            call("pattern", f"setTextContents {text!r}", lambda: editable.setTextContents(text))
            probe_text("pattern", pattern[0])
    boxes = find_all(app, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
    for box in boxes:
        call("combo", "name", lambda: box.name)
        action = box.queryAction()
        names = [action.getName(i).lower() for i in range(action.nActions)]
        call("combo", "actions", lambda: names)
        if "showmenu" in names:
            call("combo", "doAction showMenu", lambda: action.doAction(names.index("showmenu")))
        time.sleep(0.5)
        lists = find_all(app, lambda n: n.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX))
        print(f"{len(lists)} lists open: " + ", ".join(repr(n.name) for n in lists), flush=True)
        for popup in lists:
            t = popup.queryTable()
            rows = call("popup", "nRows", lambda: t.nRows) or 0
            for row, column in ((-1, -1), (0, 0), (-1, 0), (0, -1), (rows, 0), (0, 1),
                                (2**31 - 1, 2**31 - 1)):
                at = f"({row},{column})"
                call("popup", "isSelected" + at, lambda: t.isSelected(row, column))
                call("popup", "getAccessibleAt" + at, lambda: t.getAccessibleAt(row, column))
                call("popup", "getRowExtentAt" + at, lambda: t.getRowExtentAt(row, column))
                call("popup", "getColumnExtentAt" + at, lambda: t.getColumnExtentAt(row, column))
                call("popup", "getIndexAt" + at, lambda: t.getIndexAt(row, column))
            for index in (-1, rows, 2**31 - 1):
                call("popup", f"getRowColumnExtentsAtIndex({index})",
                     lambda: t.getRowColumnExtentsAtIndex(index))
                call("popup", f"isRowSelected({index})", lambda: t.isRowSelected(index))
        if "showmenu" in names:
            key("Escape")


app = find_app()
if app is None:
    print(f"no application with process {pid} on the accessibility bus")
    sys.exit(2)
if wanted == ["--events"]:
    events_run(app)
if wanted[:1] == ["--text"]:
    wanted = wanted[1:]
    text_fields_run(app)
    print(f"PASS: {answered} calls answered, the window still runs")
    sys.exit(0)
press(app, "Start Comparing")
tables = wait_for_rows(app, True)
print(f"{len(tables)} lists: " + ", ".join(f"{t.name!r} ({t.queryTable().nRows} rows)"
                                           for t in tables), flush=True)
kept = []
for number, table in enumerate(tables, 1):
    probe(f"filled {number}", table)
    try:
        kept.append(table.queryTable().getAccessibleAt(1, 0))
    except Exception:
        kept.append(None)
    probe_cell(f"filled {number}", kept[-1])

press(app, "Clear All Results")
tables = wait_for_rows(app, False)
for number, table in enumerate(tables, 1):
    probe(f"cleared {number}", table)
    probe_cell(f"cleared {number}", kept[number - 1])  # a row that is gone

press(app, "Start Comparing")  # fresh lists swapped in
tables = wait_for_rows(app, True)
for number, table in enumerate(tables, 1):
    probe(f"swapped {number}", table)
    probe_cell(f"swapped {number}", kept[number - 1])

# Compared on a key (Compare Field 1, typed through the bridge): the list of changed lines
# shows, and each of its rows says what changed.
fields = find_all(app, lambda n: n.name == "Compare Field" and
                  n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON))
if not fields:
    print("no field 'Compare Field'")
    sys.exit(2)
call("keyed", "setTextContents", lambda: fields[0].queryEditableText().setTextContents("1"))
press(app, "Start Comparing")
for _ in range(100):
    tables = wait_for_rows(app, True)
    if any(t.name == "Lines Changed In File 2" and t.queryTable().nRows > 0 for t in tables):
        break
    time.sleep(0.1)
else:
    print("the list of changed lines did not fill")
    sys.exit(2)
for number, table in enumerate(tables, 1):
    probe(f"keyed {number}", table)
    probe_cell(f"keyed {number}", table.queryTable().getAccessibleAt(0, 0))
changed = [t for t in tables if t.name == "Lines Changed In File 2"][0]
print(f"changed row: {changed.queryTable().getAccessibleAt(0, 0).name!r}", flush=True)

text_fields_run(app)
print(f"PASS: {answered} calls answered, the window still runs")
