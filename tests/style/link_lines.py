#!/usr/bin/env python3
"""Each library of the program, and tintwell-reg, links exactly the program's libraries whose headers its own
files include: a header of another library reached only through a third one's link, or a library linked and
never included, fails. (Qt's and the system's libraries are left to the compiler and linker.) The resources
library has no header: it is linked for the pictures it brings.
Usage: link_lines.py SOURCE_DIR"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
NOT_INCLUDED = {"tintwell_resources"}

targets = {}  # name: (its own files, the program's libraries on its link line)
owner = {}  # a header's file name: the library it belongs to
for cmake in sorted(root.glob("src/*/CMakeLists.txt")) + [root / "tools/tintwell-reg/CMakeLists.txt"]:
    text = re.sub(r"#.*", "", cmake.read_text())
    for match in re.finditer(r"add_(?:library|executable)\((\w[\w-]*)\s+([^)]*)\)", text):
        name, body = match.groups()
        files = [cmake.parent / word for word in body.split() if re.search(r"\.(cpp|h)$", word)]
        if name == "tintwell_helpviewer_api":
            files = [cmake.parent / "HelpViewerApi.h"]
        targets[name] = (files, set())
        for file in files:
            if file.suffix == ".h":
                owner.setdefault(file.name, name)
    for match in re.finditer(r"target_link_libraries\((\w[\w-]*)([^)]*)\)", text):
        if match.group(1) in targets:
            targets[match.group(1)][1].update(re.findall(r"\btintwell_\w+", match.group(2)))
owner["HelpViewerApi.h"] = "tintwell_helpviewer_api"

faults = []
for name, (files, links) in sorted(targets.items()):
    included = set()
    for file in files:
        for header in re.findall(r'^#include "([^"]+)"', file.read_text(), re.M):
            library = owner.get(pathlib.Path(header).name)
            if library and library != name and file.parent / header not in files:
                included.add(library)
    for library in sorted(included - links):
        faults.append(f"{name} includes headers of {library} but does not link it")
    for library in sorted(links - included - NOT_INCLUDED):
        faults.append(f"{name} links {library} but includes none of its headers")

for fault in faults:
    print(fault)
print(f"{len(targets)} link lines checked: {len(faults)} faults")
sys.exit(1 if faults else 0)
