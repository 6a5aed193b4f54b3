#!/usr/bin/env python3
"""Each library of the program, and tintwell-reg, links exactly the program's libraries whose headers its own
files include: a header of another library reached only through a third one's link, or a library linked and
never included, fails. Every source file under src/ and tools/ belongs to a target. (Qt's and the system's
libraries are left to the compiler and linker.) The resources library has no header: it is linked for the
pictures it brings. A header in a library's internal/ folder is included by that library's own files only.

What CMake itself knows is read, not the CMakeLists' text: a configure of the tree in a scratch folder asks the
file API for its code model (each target's sources, however they were added), and the links come from each
target's LINK_LIBRARIES, which tests/style/CMakeLists.txt writes out at generation.
Usage: link_lines.py SOURCE_DIR"""
import json
import pathlib
import re
import subprocess
import sys
import tempfile

root = pathlib.Path(sys.argv[1]).resolve()
NOT_INCLUDED = {"tintwell_resources"}

with tempfile.TemporaryDirectory() as scratch:
    build = pathlib.Path(scratch)
    query = build / ".cmake/api/v1/query/codemodel-v2"
    query.parent.mkdir(parents=True)
    query.touch()
    subprocess.run(["cmake", "-S", str(root), "-B", str(build), "-DTINTWELL_BENCH=OFF"], check=True,
                   stdout=subprocess.DEVNULL)
    links = {}  # a target's name: the program's libraries on its link line
    for line in (build / "tests/style/link_lines.txt").read_text().splitlines():
        name, _, libraries = line.partition("=")
        links[name] = set(re.findall(r"\btintwell_\w+", libraries))
    reply = build / ".cmake/api/v1/reply"
    codemodel = json.loads(next(reply.glob("codemodel-v2-*.json")).read_text())
    sources = {}  # a target's name: its own files in the tree
    for target in codemodel["configurations"][0]["targets"]:
        if target["name"] in links:
            model = json.loads((reply / target["jsonFile"]).read_text())
            files = [root / source["path"] for source in model.get("sources", [])]
            sources[target["name"]] = [file for file in files if file.suffix in (".cpp", ".h") and
                                       any(file.is_relative_to(root / tree) for tree in ("src", "tools"))]

owner = {}  # a header's file name: the library that offers it (an interface library before the one built)
private = {}  # the same, for the headers a library keeps to itself
for name in sorted(sources, key=lambda target: not target.endswith("_api")):
    for file in sources[name]:
        if file.suffix == ".h":
            owner.setdefault(file.name, name)
            if "internal" in file.relative_to(root).parts:
                private[file.name] = name

faults = []
for name, files in sorted(sources.items()):
    included = set()
    for file in files:
        # Every include as the preprocessor reads it: blanks around the '#', and <> as well as "".
        for header in re.findall(r'^[ \t]*#[ \t]*include[ \t]*[<"]([^>"]+)[>"]', file.read_text(), re.M):
            library = owner.get(pathlib.Path(header).name)
            if private.get(pathlib.Path(header).name, name) != name:
                faults.append(f"{file.relative_to(root)} includes {header}, which {library} keeps to itself")
            if library and library != name and file.parent / header not in files:
                included.add(library)
    for library in sorted(included - links[name]):
        faults.append(f"{name} includes headers of {library} but does not link it")
    for library in sorted(links[name] - included - NOT_INCLUDED):
        faults.append(f"{name} links {library} but includes none of its headers")

claimed = {file for files in sources.values() for file in files}
for file in sorted((root / "src").rglob("*")) + sorted((root / "tools").rglob("*")):
    if file.suffix in (".cpp", ".h") and file not in claimed:
        faults.append(f"{file.relative_to(root)} belongs to no target")

for fault in faults:
    print(fault)
print(f"{len(sources)} targets checked: {len(faults)} faults")
sys.exit(1 if faults else 0)
