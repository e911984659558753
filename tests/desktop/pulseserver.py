"""A PulseAudio server of one test's own: no daemon, no D-Bus, no system
configuration, a private socket and runtime folder, and a null sink as the
default sink, whose monitor can be recorded. The server's own events tell
each sound played: one new sink input per sound."""

import array
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

from services import readLog, startService, stopService, waitUntil

SINK = "cap"
RECORD_RATE = 16000
NEW_SINK_INPUT = re.compile(r"Event 'new' on sink-input #(\d+)")


class PulseServer:
    def __init__(self, workDir):
        self.workDir = workDir
        # A unix socket's path holds at most 107 bytes: the folder is short.
        self.folder = tempfile.mkdtemp(prefix="hopsala-pulse-")
        self.socket = os.path.join(self.folder, "native")
        self.logPath = os.path.join(workDir, "pulseaudio.log")
        self.process = None
        self.subscriber = None
        self.recorder = None
        self.events = []  # (CLOCK_MONOTONIC seconds, line) of `pactl subscribe`
        self.lock = threading.Lock()

    def clientEnvironment(self):
        """What a client of this server needs: the socket, and no bus."""
        return {"PULSE_SERVER": "unix:" + self.socket,
                "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(self.folder, "no-bus")}

    def _environment(self):
        return dict(self.clientEnvironment(), XDG_RUNTIME_DIR=self.folder, HOME=self.folder,
                    PATH=os.environ.get("PATH", "/usr/bin:/bin"))

    def pactl(self, *arguments, timeout=10):
        return subprocess.run(["pactl", *arguments], env=self._environment(), timeout=timeout,
                              capture_output=True, text=True)

    def start(self, timeout=15):
        # -n: none of the system's default.pa, so no D-Bus, no hardware.
        self.process = startService(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "--log-target=stderr",
             "-L", "module-null-sink sink_name=%s" % SINK,
             "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % self.socket],
            self.logPath, self._environment())
        waitUntil(self._answers, timeout, lambda: "PulseAudio to answer; it said: "
                  + readLog(self.logPath)[-2000:])
        result = self.pactl("set-default-sink", SINK)
        assert result.returncode == 0, result.stderr
        self._subscribe()
        return self

    def _answers(self):
        if self.process.poll() is not None:
            raise AssertionError("PulseAudio ended with status %s: %s"
                                 % (self.process.returncode, readLog(self.logPath)[-2000:]))
        return self.pactl("info", timeout=5).returncode == 0

    def _subscribe(self):
        self.subscriber = subprocess.Popen(["pactl", "subscribe"], env=self._environment(),
                                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL, text=True,
                                           start_new_session=True)
        threading.Thread(target=self._readEvents, daemon=True).start()
        # pactl answers only once it is subscribed: a client event of its own
        # shows that the subscription stands.
        waitUntil(lambda: self.pactl("stat").returncode == 0 and self.eventsMatching("on client"),
                  10, "pactl subscribe to report")

    def _readEvents(self):
        for line in self.subscriber.stdout:
            with self.lock:
                self.events.append((time.monotonic(), line.strip()))

    def eventsMatching(self, text):
        with self.lock:
            return [(stamp, line) for stamp, line in self.events if text in line]

    def soundsStarted(self):
        """The CLOCK_MONOTONIC seconds at which each sound began to play."""
        with self.lock:
            return [stamp for stamp, line in self.events if NEW_SINK_INPUT.search(line)]

    def startRecording(self):
        self.recordPath = os.path.join(self.workDir, "monitor.wav")
        self.recorder = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--file-format=wav", "--rate=%d" % RECORD_RATE,
             "--channels=1", "--format=s16le", self.recordPath],
            env=self._environment(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        # The recording stream shows as a source output once it runs.
        waitUntil(lambda: self.eventsMatching("'new' on source-output"), 10,
                  "parec to start recording")

    def stopRecording(self):
        """The recorded samples, -1.0 to 1.0."""
        stopService(self.recorder)
        self.recorder = None
        with open(self.recordPath, "rb") as file:
            data = file.read()
        # parec, ended by a signal, leaves the header's lengths unset.
        header = data.find(b"data")
        samples = array.array("h", data[header + 8:len(data) - (len(data) - header - 8) % 2])
        return [sample / 32768.0 for sample in samples]

    def stop(self):
        stopService(self.recorder)
        stopService(self.subscriber)
        stopService(self.process)
        shutil.rmtree(self.folder, ignore_errors=True)


def loudestWindow(samples, windowSamples=RECORD_RATE // 50):
    """The highest root mean square over windows of 20 ms."""
    best = 0.0
    for start in range(0, max(1, len(samples) - windowSamples), windowSamples // 2):
        window = samples[start:start + windowSamples]
        if window:
            best = max(best, (sum(value * value for value in window) / len(window)) ** 0.5)
    return best
