#!/usr/bin/python3
"""A speech task made as an operator makes it, and heard over the music: on
a station whose clock stands just before 10:00 on a Monday, with a music task
that plays a steady tone from 10:00, log in, add a speech task due at 10:01
through the speech task page and its editor, see it listed, and listen to
the sound server until the minute has passed. The voice must be heard in its
minute, the tone turned down under it and back up after it.

Usage: operator_speech.py [BIN_DIR SOURCE_DIR]; without arguments the
folders come from TOLVANE_BIN_DIR and TOLVANE_SOURCE_DIR. Exits 77 when
the machine cannot run it.
"""

import math
import os
import statistics
import sys
import time
import wave

sys.dont_write_bytecode = True  # the source tree stays as it was
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_driver import Failure, SinkRecording, run  # noqa: E402
from operator_login import MAIN_WINDOW, log_in  # noqa: E402

START = "2026-03-02 09:59:30"  # a Monday
DUE = "10:01"
SECONDS_TO_DUE = 90
TASK = "Shift bell"
TEXT = "Attention please. The afternoon shift begins in ten minutes."
# The music: a tone far above a voice's pitch, so that the two are told apart.
TONE_HZ = 2500
RATE = SinkRecording.RATE
WINDOW = RATE // 10  # 100 ms


def write_tone(path, seconds=180):
    frames = bytearray()
    for i in range(RATE * seconds):
        value = int(12000 * math.sin(2 * math.pi * TONE_HZ * i / RATE))
        frames += value.to_bytes(2, "little", signed=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def music_task(path):
    """A background item played without end from 10:00, as the data file
    holds it."""
    return ("Task=Tone|20260101|20261231|1000|1800|254|100|0|0|0|0|0|0|0|0\r\n"
            ">1|%s|65535|100|0|0|0|0||300|0|0\r\n" % path)


def tone_and_rest(samples):
    """For each 100 ms: the tone's amplitude (Goertzel) and the amplitude of
    everything else."""
    coefficient = 2 * math.cos(2 * math.pi * TONE_HZ / RATE)
    result = []
    for start in range(0, len(samples) - WINDOW + 1, WINDOW):
        block = samples[start:start + WINDOW]
        s1 = s2 = 0.0
        for x in block:
            s1, s2 = x + coefficient * s1 - s2, s1
        tone = 2 * math.sqrt(max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)) / WINDOW
        power = sum(x * x for x in block) / WINDOW
        result.append((tone, math.sqrt(max(0.0, power - tone * tone / 2))))
    return result


def check_heard(samples):
    windows = tone_and_rest(samples)
    voice = [i for i, (_, rest) in enumerate(windows) if rest > 1000]
    if len(voice) < 10:
        raise Failure("only %d ms of a voice were heard after %s" % (100 * len(voice), DUE))
    first, last = voice[0], voice[-1]
    before = statistics.median(t for t, _ in windows[:first])
    under = statistics.median(windows[i][0] for i in voice)
    after = statistics.median(t for t, _ in windows[last + 30:])
    print("voice %.1f s; tone before %d, under the voice %d, after %d"
          % (len(voice) / 10, before, under, after))
    if before < 1000:
        raise Failure("the music did not play before the speech")
    if under > before / 2:
        raise Failure("the music was not turned down under the voice")
    if after < before * 0.7:
        raise Failure("the music did not come back after the voice")


def add_task(desk, main):
    desk.current_tab(desk.find(main, "page tab", "播音任务"))
    desk.press(desk.find(main, "push button", "增加播音任务"))
    editor = desk.window("播音任务")
    desk.type_text(desk.find(editor, "text", "任务名称"), TASK)
    desk.type_text(desk.find(editor, "text", "开始时间"), DUE)
    desk.type_text(desk.find(editor, "text", "结束时间"), "18:00")
    desk.type_text(desk.find(editor, "text", "播音内容"), TEXT)
    desk.press(desk.find(editor, "push button", "确认"))
    desk.window_gone(editor)
    desk.find(main, "table cell", TASK)
    desk.find(main, "table cell", "26/03/02/~03/02 10:01~18:00")


def test(desk):
    tone = os.path.join(desk.work, "tone.wav")
    write_tone(tone)
    started = time.monotonic()
    desk.start_station(data={"mtskdata.sx": music_task(tone)}, clock=START)
    log_in(desk, "用户登录")
    main = desk.window(MAIN_WINDOW)
    add_task(desk, main)
    if time.monotonic() - started > SECONDS_TO_DUE - 20:
        raise Failure("the task was made too late to be heard at %s" % DUE)

    # From some seconds of music alone to some seconds after the words.
    time.sleep(max(0, SECONDS_TO_DUE - 15 - (time.monotonic() - started)))
    recording = SinkRecording(desk)
    time.sleep(max(0, SECONDS_TO_DUE + 30 - (time.monotonic() - started)))
    check_heard(recording.stop())
    if not desk.station_running():
        raise Failure("the station ended while it spoke")


if __name__ == "__main__":
    sys.exit(run(test))
