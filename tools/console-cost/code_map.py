#!/usr/bin/env python3
"""code_map.py LINKER_MAP NM_OUTPUT: the console-cost plugin's map of copperbramble-sim's code,
each range named by the object (and function section) it came from.

Each input section of the link is classed by the library or object it came from: the simulated
console, its compositor and blitter and the host (sim), the demo and the hardware back end (own),
libmikmod (mixer), the C, C++ and compiler libraries and functions kept once for several objects
(lib: counted for whoever calls them). The back end's waits for the display's sync, for time and
the two-wire bus's delay unit are idle. Soft-float helpers are listed with their entries; the
frame boundary and the markers of what a frame shows are function entries: a frame starts where
the demo's loop reads the buttons."""
import re
import sys

SIM = ("libcb_sim.a", "libcb_display.a", "libcb_recording_handheld.a", "copperbramble-sim.dir/")
OWN = ("libcb_demo_handheld.a", "libvkr_lowLevelGP2X.a", "libvkr_common_handheld.a")
MIXER = ("libmikmod.a",)
IDLE_OBJECTS = ("(vkr_gp2xSync.cpp.o)",)
IDLE_FUNCTIONS = ("_Z11GP2X_WaitMSj", "_ZN12_GLOBAL__N_14WaitEi")  # time, the bus's delay unit
MARKERS = {"frame": "_Z21VKR_GetGP2XInputStatePj", "paint": "_Z18VKR_DP_Intro_Paintjjii",
           "menu": "_Z10VKR_MEMCPYPvPKvj", "overlay": "_Z14VKR_MoveCursortt"}
SOFT_FLOAT = re.compile(r"^__(aeabi_(d|f|cd|cf|i2d|i2f|ui2d|ui2f|l2d|l2f|ul2d|ul2f)\w*"
                        r"|\w+[sdt]f[0-9]?)$")
SECTION = re.compile(r"^ (\.text\S*)(?:\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*))?$")
CONTINUATION = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
KEPT_ONCE = re.compile(r"^\.text\.(?!startup|unlikely|hot|exit)")


def sections(map_path):
    """(start, end, section name, object) of every code input section placed in the program."""
    with open(map_path) as lines:
        for line in lines:
            if line.startswith("Linker script and memory map"):
                break
        pending = None
        for line in lines:
            line = line.rstrip("\n")
            match = SECTION.match(line)
            if match:
                pending = None
                if match.group(2):
                    start, size = int(match.group(2), 16), int(match.group(3), 16)
                    if size:
                        yield start, start + size, match.group(1), match.group(4)
                else:
                    pending = match.group(1)
                continue
            match = CONTINUATION.match(line) if pending else None
            if match:
                start, size = int(match.group(1), 16), int(match.group(2), 16)
                if size:
                    yield start, start + size, pending, match.group(3)
            pending = None


def class_of(name, origin):
    if any(tag in origin for tag in SIM):
        return "sim"
    if any(tag in origin for tag in MIXER):
        return "mixer"
    if any(tag in origin for tag in OWN):
        if KEPT_ONCE.match(name):
            return "lib"
        return "idle" if any(tag in origin for tag in IDLE_OBJECTS) else "own"
    return "lib"


def main():
    map_path, nm_path = sys.argv[1:3]
    symbols = []  # (address, size, name)
    with open(nm_path) as nm:
        for line in nm:
            fields = line.split()
            if len(fields) == 4 and fields[2] in "tTwW":
                symbols.append((int(fields[0], 16), int(fields[1], 16), fields[3]))
    by_name = {name: (address, size) for address, size, name in symbols}

    ranges = []
    soft_float = []
    for start, end, name, origin in sections(map_path):
        label = origin.rsplit("/", 1)[-1] + (name[5:] if name != ".text" else "")
        ranges.append([start, end, class_of(name, origin), label[:63].replace(" ", "_")])
        entries = [address for address, _, symbol in symbols
                   if start <= address < end and SOFT_FLOAT.match(symbol)]
        if entries and "libgcc.a" in origin:
            soft_float.append((start, end))
    for function in IDLE_FUNCTIONS:
        if function in by_name:
            address, size = by_name[function]
            for item in list(ranges):
                if item[0] <= address < item[1]:
                    ranges.remove(item)
                    ranges += [[item[0], address, item[2], item[3]],
                               [address, address + size, "idle", function],
                               [address + size, item[1], item[2], item[3]]]
    for start, end, klass, label in sorted(ranges):
        if end > start:
            print(f"range {start:x} {end:x} {klass} {label}")
    for start, end in soft_float:
        print(f"softfloat {start:x} {end:x}")
    for kind, symbol in MARKERS.items():
        if symbol not in by_name:
            sys.exit(f"code_map.py: {symbol} is not in the program")
        print(f"{kind} {by_name[symbol][0]:x}")


main()
