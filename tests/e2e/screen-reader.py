# What a screen reader reads of the running program over AT-SPI, as Orca reads it.
#   screen-reader.py PID description NAME TEXT   the control named NAME is described as TEXT
#   screen-reader.py PID status TEXT             the status bar shows TEXT, as a child's text
# Exits 0 when it reads so, 1 when not (and prints what it read).
import sys

import pyatspi


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


pid, what, *expected = sys.argv[1:]
apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == int(pid)]
if not apps:
    sys.exit("no application of that process on the accessibility bus")
nodes = list(walk(apps[0]))
if what == "description":
    name, wanted = expected
    read = [node.description for node in nodes if node.name == name]
else:
    (wanted,) = expected
    read = [text_of(child) for bar in nodes if bar.getRole() == pyatspi.ROLE_STATUS_BAR for child in bar]
print(read)
sys.exit(0 if wanted in read else 1)
