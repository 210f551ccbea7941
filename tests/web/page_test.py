"""page_test.py: the web build in headless Chromium: the page says so when WebAssembly is missing
or the program cannot be loaded; it loads cleanly, Start starts the demo,
a frame of the intro equals the desktop recorder's frame at the same demo time, the demo clock
keeps real time, the keys open the pause menu and change the volume, and the frame rate the page
sees over ten seconds is reported. With --example, a program built against the installed
package's web target is played on its page too: its frame equals the same program's frame on the
desktop back end, and Start ends it cleanly. Every wait has a time-out.

usage: page_test.py --site build-web/site --recorder build/copperbramble-record --data build/data
                    [--example SITE --example-desktop PROGRAM] [--screenshot docs/web-page.png]
"""

import argparse
import base64
import os
import re
import select
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache folder left in the source tree
from devtools import Browser, BrowserError  # noqa: E402

kProgramFile = "copperbramble-web.wasm"
kStillDemoMs = 3000            # the compared frame: the intro, its band fading in
kExampleStillProgramTime = 40  # the example's compared frame: the time it reports for its paint
kExampleEndKeys = "2000:Start"  # ends the example on the desktop, after that frame
kRateSeconds = 10
kLowestFrameRate = 10.0        # a floor that only a stalled page misses
kClockTolerance = 0.05         # demo milliseconds a wall millisecond, 1 +- this

# Watches every frame the program reports, keeps the latest, and copies the canvas out at the
# first frame at or past the wanted demo time, while the canvas still holds that very frame.
PROBE = """
(() => {
  const probe = { frames: 0, last: null, still: null, target: %d };
  const pageOnFrame = Module.cbOnFrame;
  const canvas = Module.canvas;
  Module.cbOnFrame = (demoTimeMs) => {
    if (pageOnFrame) pageOnFrame(demoTimeMs);
    const volume = Module._cb_demo_volume ? Module._cb_demo_volume() : null;
    const menuOpen = Module._cb_demo_menu_open ? Module._cb_demo_menu_open() : null;
    probe.frames += 1;
    probe.last = { demoTimeMs, volume, menuOpen, wallMs: performance.now(), frames: probe.frames,
                   width: canvas.width, height: canvas.height };
    if (!probe.still && demoTimeMs >= probe.target) {
      let context = canvas.getContext('2d');
      if (!context) {
        const copy = document.createElement('canvas');
        copy.width = canvas.width;
        copy.height = canvas.height;
        context = copy.getContext('2d');
        context.drawImage(canvas, 0, 0);
      }
      probe.still = { demoTimeMs, width: canvas.width, height: canvas.height,
                      rgba: context.getImageData(0, 0, canvas.width, canvas.height).data };
    }
  };
  window.cbProbe = probe;
  return true;
})()
"""

STILL_AS_BASE64 = """
(() => {
  const still = window.cbProbe.still;
  let text = '';
  for (let i = 0; i < still.rgba.length; i += 0x8000)
    text += String.fromCharCode.apply(null, still.rgba.subarray(i, i + 0x8000));
  return { demoTimeMs: still.demoTimeMs, width: still.width, height: still.height, rgba: btoa(text) };
})()
"""


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def wait_for(browser, condition, timeout, what):
    """Polls a JavaScript expression in the page until it is truthy; answers its value."""
    script = f"""new Promise((resolve, reject) => {{
      const started = performance.now();
      const poll = () => {{
        const value = ({condition});
        if (value) resolve(value);
        else if (performance.now() - started > {timeout * 1000}) reject(new Error('waited {timeout} s for {what}'));
        else setTimeout(poll, 20);
      }};
      poll();
    }})"""
    try:
        return browser.evaluate(script, timeout=timeout + 5)
    except BrowserError as error:
        raise TestFailure(str(error)) from None


def serve_sites(site, root):
    """Beside the site, a copy of it (links) without the program's WebAssembly file."""
    os.symlink(os.path.abspath(site), os.path.join(root, "site"))
    broken = os.path.join(root, "broken")
    os.mkdir(broken)
    for name in os.listdir(site):
        if name != kProgramFile:
            os.symlink(os.path.abspath(os.path.join(site, name)), os.path.join(broken, name))


def start_server(root, log):
    server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1",
                               "--directory", root, "0"],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=log, text=True)
    ready, _, _ = select.select([server.stdout], [], [], 15)
    line = server.stdout.readline() if ready else ""
    found = re.search(r"port (\d+)", line)
    if not found:
        server.kill()
        server.wait()
        raise TestFailure(f"the web server did not start: {line!r}")
    return server, f"http://127.0.0.1:{found.group(1)}/"


def read_bitmap(path):
    """A 24-bit bottom-up bitmap as top-down RGB bytes."""
    with open(path, "rb") as file:
        data = file.read()
    check(data[:2] == b"BM", f"{path} is not a bitmap")
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    check(int.from_bytes(data[28:30], "little") == 24 and height > 0, f"{path}: not 24-bit bottom-up")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows.append(bytes(rgb))
    return width, height, b"".join(rows)


def write_ppm(path, width, height, rgb):
    with open(path, "wb") as file:
        file.write(b"P6 %d %d 255\n" % (width, height) + rgb)


def recorder_still(command, demo_ms, folder):
    command = command + ["--fps", "1000", "--demo-stills", str(demo_ms), "--frames", folder,
                         "--no-progress"]
    subprocess.run(command, check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return read_bitmap(os.path.join(folder, "frame_000000.bmp"))


def compare_with_recorder(still, command, keep, what="the recorder's frame"):
    width, height = still["width"], still["height"]
    rgba = base64.b64decode(still["rgba"])
    canvas_rgb = bytearray(width * height * 3)
    canvas_rgb[0::3], canvas_rgb[1::3], canvas_rgb[2::3] = rgba[0::4], rgba[1::4], rgba[2::4]
    with tempfile.TemporaryDirectory(prefix="cb-still-") as folder:
        r_width, r_height, recorded = recorder_still(command, still["demoTimeMs"], folder)
    check((r_width, r_height) == (width, height),
          f"the canvas is {width}x{height}, {what} {r_width}x{r_height}")
    colours = len({recorded[i:i + 3] for i in range(0, len(recorded), 3 * 7)})
    differing = 0
    largest = 0
    for i in range(0, len(recorded), 3):
        if recorded[i:i + 3] != canvas_rgb[i:i + 3]:
            differing += 1
            largest = max(largest, *(abs(recorded[i + c] - canvas_rgb[i + c]) for c in range(3)))
    if differing:
        os.makedirs(keep, exist_ok=True)
        write_ppm(os.path.join(keep, "canvas.ppm"), width, height, bytes(canvas_rgb))
        write_ppm(os.path.join(keep, "recorder.ppm"), width, height, recorded)
    check(differing == 0, f"the canvas at program time {still['demoTimeMs']} differs from "
          f"{what} in {differing} of {width * height} pixels, by up to {largest} "
          f"(both pictures are in {keep})")
    print(f"  the canvas at program time {still['demoTimeMs']} equals {what} "
          f"({width}x{height}, {colours}+ colours)")
    return colours


PAGE_DOWN = ("PageDown", "PageDown", 34)
KEYPAD_PLUS = ("+", "NumpadAdd", 107, 3)
KEYPAD_MINUS = ("-", "NumpadSubtract", 109, 3)


def shown_failure(browser, what):
    wait_for(browser, "!document.getElementById('message').hidden", 30, what)
    return browser.evaluate("[document.getElementById('message').innerText, "
                            "document.getElementById('start').disabled]")


def check_failures_shown(browser, site_url, broken_url):
    blocked = browser.send("Page.addScriptToEvaluateOnNewDocument",
                           source="delete window.WebAssembly;")["identifier"]
    browser.open(site_url)
    text, start_disabled = shown_failure(browser, "the message that WebAssembly is missing")
    browser.send("Page.removeScriptToEvaluateOnNewDocument", identifier=blocked)
    check("WebAssembly" in text and start_disabled, f"without WebAssembly the page says: {text}")
    browser.open(broken_url)
    text, start_disabled = shown_failure(browser, "the message that the program is missing")
    check(start_disabled, "Start is offered although the program could not be loaded")
    check("could not be loaded" in text, f"without {kProgramFile} the page says: {text}")
    print(f"  without WebAssembly and without {kProgramFile} the page says so: "
          f"\"{text[:60]}...\"")
    browser.errors.clear()


def drive_page(browser, url, args):
    start_program(browser, url, kStillDemoMs)
    wait_for(browser, "window.cbProbe.frames > 0", 20, "the first frame after Start")
    state = browser.evaluate("[document.getElementById('start').hidden, "
                             "document.activeElement === Module.canvas]")
    check(state == [True, True], f"after Start: button hidden, screen focused = {state}")
    print("  the page loaded without errors; Start started the demo and focused its screen")

    still = wait_for(browser, "window.cbProbe.still !== null", kStillDemoMs / 1000 + 30,
                     "the frame of the compared demo time")
    still = browser.evaluate(STILL_AS_BASE64)

    last = browser.evaluate("window.cbProbe.last")
    volume = last["volume"]
    step = -1 if volume >= 20 else 1
    key, back = (KEYPAD_MINUS, KEYPAD_PLUS) if step < 0 else (KEYPAD_PLUS, KEYPAD_MINUS)
    browser.press(*key)
    wait_for(browser, f"window.cbProbe.last.volume === {volume + step}", 5,
             f"the volume to go from {volume} to {volume + step}")
    browser.press(*back)
    wait_for(browser, f"window.cbProbe.last.volume === {volume}", 5,
             f"the volume to come back to {volume}")
    print(f"  keypad {'+' if step > 0 else '-'} and back: volume {volume} -> {volume + step} -> {volume}")

    browser.press(*PAGE_DOWN)
    paused = wait_for(browser, "window.cbProbe.last.menuOpen === 1 && window.cbProbe.last", 5,
                      "the pause menu to open")
    time.sleep(0.6)
    later = browser.evaluate("window.cbProbe.last")
    check(later["menuOpen"] == 1 and later["demoTimeMs"] == paused["demoTimeMs"],
          f"the demo clock moved while paused: {paused['demoTimeMs']} -> {later['demoTimeMs']} ms")
    browser.press(*PAGE_DOWN)
    wait_for(browser, "window.cbProbe.last.menuOpen === 0", 5, "Play to close the menu")
    print(f"  Page Down opened the pause menu (clock held at {paused['demoTimeMs']} ms), "
          "Page Down again chose Play")

    wait_for(browser, "window.cbProbe.last.demoTimeMs > " + str(paused["demoTimeMs"] + 200), 5,
             "the demo to run on")
    first = browser.evaluate("window.cbProbe.last")
    time.sleep(kRateSeconds)
    last = browser.evaluate("window.cbProbe.last")
    wall_ms = last["wallMs"] - first["wallMs"]
    frame_rate = (last["frames"] - first["frames"]) * 1000 / wall_ms
    clock_rate = (last["demoTimeMs"] - first["demoTimeMs"]) / wall_ms
    shown = browser.evaluate("document.getElementById('fps').textContent")
    print(f"  frame rate over {wall_ms / 1000:.1f} s at {last['width']}x{last['height']}: "
          f"{frame_rate:.1f} frames a second (the page shows \"{shown}\")")
    print(f"  demo clock: {clock_rate * 1000:.1f} ms a wall second")
    check((last["width"], last["height"]) == (320, 240), "the screen is not at the LCD size")
    check(last["menuOpen"] == 0, "the menu opened by itself")
    check(frame_rate >= kLowestFrameRate, f"only {frame_rate:.1f} frames a second")
    check(abs(clock_rate - 1) <= kClockTolerance,
          f"the demo clock ran {clock_rate:.3f} times real time")
    check(re.match(r"\d+\.\d frames a second", shown), f"the page shows \"{shown}\"")

    if args.screenshot:
        browser.screenshot(args.screenshot)
        print(f"  {args.screenshot}")
    message = browser.evaluate("document.getElementById('message').hidden ? '' : "
                               "document.getElementById('message').textContent")
    check(not message, f"the page reports: {message}")
    return still


def start_program(browser, url, still_time):
    """Opens a page, waits for its program to load, installs the probe for a still at still_time
    and presses Start."""
    browser.open(url)
    wait_for(browser, "!document.getElementById('start').disabled || "
             "!document.getElementById('message').hidden", 60, "the program to load")
    message = browser.evaluate("document.getElementById('message').hidden ? '' : "
                               "document.getElementById('message').textContent")
    check(not message, f"the page reports: {message}")
    browser.evaluate(PROBE % still_time)
    box = browser.evaluate("(() => { const r = document.getElementById('start')"
                           ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    browser.click(*box)


def drive_example(browser, url):
    """The example's page: its own title and none of the demo's words, its frames after Start, a
    still, and Start (Page Down) ending the program with status 0."""
    start_program(browser, url, kExampleStillProgramTime)
    heading, about_hidden = browser.evaluate(
        "[document.querySelector('h1').textContent, "
        "[...document.querySelectorAll('.demo-only')].every((element) => element.hidden)]")
    check(heading != "Copperbramble" and about_hidden,
          f"the example's page shows the demo's heading or words: \"{heading}\"")
    wait_for(browser, "window.cbProbe.still !== null", 30, "the compared frame of the example")
    still = browser.evaluate(STILL_AS_BASE64)
    browser.press(*PAGE_DOWN)
    status = wait_for(browser, "document.getElementById('status').textContent.includes('ended') && "
                      "document.getElementById('status').textContent", 10, "the example to end")
    message = browser.evaluate("document.getElementById('message').hidden ? '' : "
                               "document.getElementById('message').textContent")
    check(not message, f"the example's page reports: {message}")
    print(f"  the example \"{heading}\" played on its page; Page Down (Start) ended it: \"{status}\"")
    return still


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", default="build-web/site")
    parser.add_argument("--recorder", default="build/copperbramble-record")
    parser.add_argument("--data", default="build/data")
    parser.add_argument("--chromium", default="chromium")
    parser.add_argument("--example", help="a folder with a program built for the page, and its page")
    parser.add_argument("--example-desktop", help="the same program built for the desktop back end")
    parser.add_argument("--screenshot", help="also save a picture of the page here")
    parser.add_argument("--keep", default="build-web/page-test-failure",
                        help="where the two pictures go when they differ")
    args = parser.parse_args()

    started = time.monotonic()
    server_log = tempfile.TemporaryFile(mode="w+")
    root = tempfile.TemporaryDirectory(prefix="cb-web-")
    server = browser = None
    try:
        check(os.path.isfile(os.path.join(args.site, kProgramFile)), f"no {kProgramFile} in {args.site}")
        check(bool(args.example) == bool(args.example_desktop),
              "--example and --example-desktop go together")
        serve_sites(args.site, root.name)
        if args.example:
            os.symlink(os.path.abspath(args.example), os.path.join(root.name, "example"))
        server, url = start_server(root.name, server_log)
        print(f"  serving {args.site} at {url}site/")
        browser = Browser(args.chromium)
        check_failures_shown(browser, url + "site/", url + "broken/")
        still = drive_page(browser, url + "site/", args)
        example_still = drive_example(browser, url + "example/") if args.example else None
        check(not browser.errors, "the page's console: " + "; ".join(browser.errors))
        browser.close()
        browser = None
        recorder = [os.path.abspath(args.recorder), "--data", os.path.abspath(args.data)]
        colours = compare_with_recorder(still, recorder, args.keep)
        check(colours > 50, f"the recorder's frame at {still['demoTimeMs']} ms is nearly plain "
              f"({colours} colours): not the intro")
        if example_still:
            compare_with_recorder(example_still, [os.path.abspath(args.example_desktop), "--headless",
                                                 "--keys", kExampleEndKeys],
                                  os.path.join(args.keep, "example"), "the desktop's frame")
    except (TestFailure, BrowserError, subprocess.SubprocessError, OSError) as error:
        print(f"FAILED: {error}")
        if browser and browser.errors:
            print("  console errors: " + "; ".join(browser.errors))
        server_log.seek(0)
        print("  web server log (last lines):\n    " + "\n    ".join(server_log.read().splitlines()[-8:]))
        return 1
    finally:
        if browser:
            browser.close()
        if server:
            server.terminate()
            server.wait(timeout=10)
        root.cleanup()
    print(f"web page test passed in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
