"""devtools.py: a headless Chromium driven through its DevTools protocol: one page, commands with
time-outs, and the page's console errors and uncaught exceptions collected as they arrive."""

import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket


class BrowserError(Exception):
    pass


class Browser:
    def __init__(self, chromium="chromium", width=1280, height=960, start_timeout=30.0):
        self.profile = tempfile.mkdtemp(prefix="cb-chromium-")
        self.log_path = os.path.join(self.profile, "chromium.log")
        self.errors = []
        self.events = []
        self.next_id = 0
        command = [chromium, "--headless=new", "--remote-debugging-port=0",
                   f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
                   "--no-first-run", "--no-default-browser-check", "--mute-audio",
                   "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
                   "about:blank"]
        # Chromium refuses to start as root inside its own sandbox.
        if os.geteuid() == 0:
            command.insert(1, "--no-sandbox")
        with open(self.log_path, "w") as log:
            self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT)
        try:
            self.socket = self._connect(start_timeout)
        except Exception:
            self.close()
            raise

    def _connect(self, timeout):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if self.process.poll() is not None:
                raise BrowserError(f"chromium exited with {self.process.returncode}: "
                                   f"{self.log_tail()}")
            if time.monotonic() > deadline:
                raise BrowserError(f"chromium did not start in {timeout:.0f} s")
            time.sleep(0.1)
        time.sleep(0.1)
        with open(port_file) as file:
            port = int(file.readline())
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=10) as answer:
            targets = json.load(answer)
        pages = [target for target in targets if target.get("type") == "page"]
        if not pages:
            raise BrowserError("chromium has no page to drive")
        return websocket.create_connection(pages[0]["webSocketDebuggerUrl"], timeout=10,
                                           suppress_origin=True)

    def log_tail(self, lines=20):
        try:
            with open(self.log_path) as file:
                return "".join(file.readlines()[-lines:])
        except OSError:
            return ""

    def close(self):
        if getattr(self, "socket", None):
            try:
                self.socket.close()
            except Exception:
                pass
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _note_event(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            text = " ".join(str(arg.get("value", arg.get("description", "")))
                            for arg in params.get("args", []))
            self.errors.append(f"console.{params['type']}: {text}")
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            description = details.get("exception", {}).get("description") or details.get("text")
            self.errors.append(f"uncaught exception: {description}")
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            entry = params["entry"]
            self.errors.append(f"{entry.get('source')}: {entry.get('text')} {entry.get('url', '')}")
        else:
            self.events.append(message)

    def _receive(self, deadline):
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            raise BrowserError("no answer from chromium in time")
        self.socket.settimeout(remaining)
        try:
            return json.loads(self.socket.recv())
        except websocket.WebSocketTimeoutException:
            raise BrowserError("no answer from chromium in time") from None

    def send(self, method, timeout=15.0, **params):
        self.next_id += 1
        ident = self.next_id
        self.socket.send(json.dumps({"id": ident, "method": method, "params": params}))
        deadline = time.monotonic() + timeout
        while True:
            message = self._receive(deadline)
            if message.get("id") == ident:
                if "error" in message:
                    raise BrowserError(f"{method}: {message['error'].get('message')}")
                return message.get("result", {})
            if "method" in message:
                self._note_event(message)

    def wait_event(self, method, timeout=15.0):
        for index, message in enumerate(self.events):
            if message.get("method") == method:
                return self.events.pop(index).get("params", {})
        deadline = time.monotonic() + timeout
        while True:
            message = self._receive(deadline)
            if message.get("method") == method:
                return message.get("params", {})
            if "method" in message:
                self._note_event(message)

    def evaluate(self, expression, timeout=15.0):
        """The value of a JavaScript expression, awaited when it is a promise."""
        result = self.send("Runtime.evaluate", timeout=timeout + 5, expression=expression,
                           awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            description = details.get("exception", {}).get("description") or details.get("text")
            raise BrowserError(f"in the page: {description}")
        return result.get("result", {}).get("value")

    def open(self, url, timeout=30.0):
        self.send("Runtime.enable")
        self.send("Log.enable")
        self.send("Page.enable")
        self.send("Page.navigate", url=url)
        self.wait_event("Page.loadEventFired", timeout)

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1)

    def press(self, key, code, key_code, location=0, hold=0.1):
        """A key held for `hold` seconds; the program takes one key event a frame."""
        common = dict(key=key, code=code, windowsVirtualKeyCode=key_code,
                      nativeVirtualKeyCode=key_code, location=location)
        self.send("Input.dispatchKeyEvent", type="rawKeyDown", **common)
        time.sleep(hold)
        self.send("Input.dispatchKeyEvent", type="keyUp", **common)

    def screenshot(self, path):
        result = self.send("Page.captureScreenshot", timeout=30, format="png")
        with open(path, "wb") as file:
            file.write(base64.b64decode(result["data"]))
