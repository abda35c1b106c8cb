"""Drives the real Quellan.exe under Wine from outside with quellan-probe.

Shared by the end-to-end tests. Every Wine program runs in the caller's
namespace and Wine prefix, so the probe sees the program's windows.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class ProbeError(AssertionError):
    pass


class Quellan:
    def __init__(self, exe, probe, env=None):
        self.probe_exe = probe
        self.env = dict(os.environ, **(env or {}))
        self.server = None
        trace = os.environ.get("QUELLAN_SERVER_TRACE")
        if trace:
            # Every request to the wineserver, one line each, goes to FILE
            # (bench/server_requests.py counts them): unlike the receive
            # rate, the counts per search do not depend on the machine's
            # load. The server traces, so this one is started first.
            with open(trace, "w") as log:
                self.server = subprocess.Popen(
                    ["wineserver", "--foreground", "--persistent",
                     "--debug=1"], env=self.env, stderr=log)
            time.sleep(1)  # for it to listen before the program looks
        self.process = subprocess.Popen(["wine", exe], env=self.env,
                                        stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = self.probe("wait-window", timeout=30000)[0]

    def probe(self, *args, timeout=10000, check=True):
        """Runs one probe command; returns its JSON lines."""
        # A probe whose process came up without the window system (exit code
        # 3) could not look; another one can.
        for _ in range(3):
            code, lines, errors = self._probe_once(args, timeout)
            if code != 3:
                break
            print("the probe could not reach the window system, "
                  "running it again", file=sys.stderr)
        if check and code != 0:
            raise ProbeError("probe %s failed (%d): %s" %
                             (" ".join(map(str, args)), code, errors.strip()))
        return [json.loads(line) for line in lines.splitlines()
                if line.strip()]

    def _probe_once(self, args, timeout):
        # Files, not pipes: helper processes that Wine starts may inherit a
        # pipe and keep it open long after the probe has ended.
        with tempfile.TemporaryFile("w+") as out, \
                tempfile.TemporaryFile("w+") as err:
            code = subprocess.run(
                ["wine", self.probe_exe, "--timeout", str(timeout),
                 *[str(a) for a in args]],
                env=self.env, stdout=out, stderr=err,
                timeout=timeout / 1000 + 60).returncode
            out.seek(0)
            err.seek(0)
            return code, out.read(), err.read()

    def rows(self):
        return self.probe("rows")

    def found_text(self):
        return self.probe("found-text")[0]["text"]

    def tool_enabled(self, command):
        return self.probe("enabled", command)[0]["enabled"]

    def search(self, boxes=()):
        """Presses the search button and waits until the search has ended.
        Each text in `boxes` is a message box expected while it runs, in
        order; each is checked and dismissed. Returns their texts."""
        self.probe("command", 32777)
        seen = []
        for expected in boxes:
            box = self.probe("message-box", timeout=15000)[0]
            seen.append(box["text"])
            if box["text"] != expected or box["title"] != "Quellan":
                raise AssertionError("message box %r, expected %r" %
                                     (box, expected))
            self.probe("dismiss")
        self.probe("wait-enabled", 32777, "on", timeout=15000)
        return seen

    def close(self):
        """File > Exit; the program ends with exit code 1."""
        if self.process.poll() is None:
            self.probe("command", 57665, check=False)
        try:
            return self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return self.process.wait()
        finally:
            if self.server:
                self.server.terminate()
                self.server.wait()


class BrowserStandIn:
    """Puts a recorder where the program looks for the web browser, so that a
    launch is seen instead of a browser being started."""

    def __init__(self, recorder, log):
        prefix = os.environ["WINEPREFIX"]
        self.targets = [
            os.path.join(prefix, "drive_c", folder, "Internet Explorer",
                         "iexplore.exe")
            for folder in ("Program Files (x86)", "Program Files")]
        self.saved = []
        for target in self.targets:
            os.makedirs(os.path.dirname(target), exist_ok=True)
            backup = target + ".saved"
            if os.path.exists(target):
                shutil.copy2(target, backup)
                self.saved.append((backup, target))
            shutil.copy2(recorder, target)
        self.log = log
        self.env = {"QUELLAN_LAUNCH_LOG": windows_path(log)}

    def launches(self, count, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            if os.path.exists(self.log):
                with open(self.log, encoding="utf-8-sig") as f:
                    lines = [l.strip() for l in f if l.strip()]
                if len(lines) >= count:
                    return lines
            time.sleep(0.1)
        raise AssertionError("expected %d browser launches" % count)

    def restore(self):
        for target in self.targets:
            os.remove(target)
        for backup, target in self.saved:
            shutil.move(backup, target)
