#!/usr/bin/env python3
"""Checks that includes between the top-level source folders run one way.

Every #include "folder/..." of a C++ file names the folder it reaches. A
folder may include its own files and those of any lower layer; folders on
one layer do not include each other, save for the headers ALLOWED names.
Prints the include graph between the folders; exits 1 on an include that
breaks the layering or a source folder that has no layer.

    python3 scripts/check-layers.py [ROOT]
"""

import pathlib
import re
import sys

# Lowest first.
LAYERS = [
    ["rtl"],
    ["platform"],
    ["controls"],
    ["session"],  # what the windows share: the menu, the start folder, the window references
    ["launcher", "desk", "editor", "planner", "sysinfo", "appmenus"],  # the windows and the menus made from the applications
    ["app", "pinnotes"],  # the two programs
    ["testhooks"],  # built into the program of a test build only
    ["tests", "bench", "fuzz"],
]

# Includes between folders of one layer, each with its reason.
ALLOWED = {
    ("sysinfo", "desk/PlayWav.h"): "the about panel plays its sound through the alarm's wave player",
}

SOURCE_SUFFIXES = {".h", ".cpp"}
SKIPPED = {"build", "demo", "data", "scripts"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    rank = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
    folders = sorted(
        p.name
        for p in root.iterdir()
        if p.is_dir()
        and not p.name.startswith(".")
        and p.name not in SKIPPED
        and any(f.suffix in SOURCE_SUFFIXES for f in p.rglob("*"))
    )
    faults = [f"{folder}/ holds sources but has no layer in LAYERS of scripts/check-layers.py" for folder in folders if folder not in rank]

    graph = {}
    for folder in folders:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in SOURCE_SUFFIXES:
                continue
            text = source.read_text(encoding="utf-8", errors="replace")
            for header in INCLUDE.findall(text):
                target = header.split("/")[0]
                if target == "..":
                    faults.append(f"{source.relative_to(root)}: includes {header} by a relative path")
                    continue
                # "support/X.h", "XDesktop.h", "KavroBuild.h": the folder's own or generated.
                if "/" not in header or target not in rank:
                    continue
                if target == folder:
                    continue
                graph.setdefault(folder, {}).setdefault(target, 0)
                graph[folder][target] += 1
                if folder not in rank:
                    continue
                where = source.relative_to(root)
                if rank[target] > rank[folder]:
                    faults.append(f"{where}: includes {header} from a higher layer")
                elif rank[target] == rank[folder] and (folder, header) not in ALLOWED:
                    faults.append(f"{where}: includes {header} from a folder of its own layer")

    print("Includes between top-level folders (count of include lines):")
    for folder in sorted(graph, key=lambda f: (rank.get(f, len(LAYERS)), f)):
        targets = graph[folder]
        listed = ", ".join(f"{t} {targets[t]}" for t in sorted(targets, key=lambda t: (rank.get(t, 0), t)))
        print(f"  {folder} -> {listed}")
    both = sorted((a, b) for a in graph for b in graph[a] if a < b and a in graph.get(b, {}))
    for a, b in both:
        faults.append(f"{a} and {b} include each other")
    if faults:
        print("Layering broken:", file=sys.stderr)
        for fault in faults:
            print(f"  {fault}", file=sys.stderr)
        return 1
    print("No pair of folders includes each other; every include runs down the layers:")
    print("  " + " < ".join("{" + " ".join(layer) + "}" if len(layer) > 1 else layer[0] for layer in LAYERS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
