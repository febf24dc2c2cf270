#!/usr/bin/env python3
"""Turns the benchmark target's key record into figures; prints them and appends summary rows.

Record lines (from benchtarget): arrived_ns handled_ns message wparam.
Press times (from the shell): KIND EPOCHREALTIME, one line per press.
Summary rows: name|value|goal, appended to the file named by $BENCH_SUMMARY (if set).
"""
import os
import random
import statistics
import sys

WM_KEYDOWN, WM_KEYUP, WM_CHAR = 0x100, 0x101, 0x102
VK_BACK = 0x08


def summary(name, value, goal=""):
    path = os.environ.get("BENCH_SUMMARY")
    if path:
        with open(path, "a", encoding="utf-8") as f:
            f.write(f"{name}|{value}|{goal}\n")


def read_record(path):
    events = []
    with open(path) as f:
        for line in f:
            arrived, handled, msg, wp = (int(x) for x in line.split())
            events.append((arrived, handled, msg, wp))
    return events


def read_presses(path):
    presses = []
    with open(path) as f:
        for line in f:
            kind, stamp = line.split()
            # The shell's $EPOCHREALTIME is seconds with microseconds; the helpers print nanoseconds.
            ns = int(round(float(stamp) * 1e6)) * 1000 if "." in stamp else int(stamp)
            presses.append((kind, ns))
    return presses


def first_index(events, start, pred):
    for i in range(start, len(events)):
        if pred(events[i]):
            return i
    return None


def stats(values):
    if not values:
        return "n=0"
    v = sorted(values)
    return (f"n={len(v)} median {statistics.median(v):.1f} ms, min {v[0]:.1f}, "
            f"p90 {v[int(0.9 * (len(v) - 1))]:.1f}, max {v[-1]:.1f}")


def ms(ns):
    return ns / 1e6


def at_or_after(events, t):
    i = first_index(events, 0, lambda e: e[0] >= t)
    return len(events) if i is None else i


# Key texts: letters (some words capitalised), digits, blanks, umlauts and "###" line breaks, exactly n characters.
def make_text(n, seed):
    rng = random.Random(seed)
    letters = "abcdefghijklmnopqrstuvwxyz"
    umlauts = "äöüÄÖÜß"
    out = ""
    while len(out) < n:
        r = rng.random()
        if r < 0.08:
            word = "###"
        elif r < 0.2:
            word = "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 5)))
        else:
            word = "".join(rng.choice(letters + umlauts[:3] if rng.random() < 0.9 else umlauts)
                           for _ in range(rng.randint(2, 9)))
            if rng.random() < 0.25:
                word = word[0].upper() + word[1:]
        out += word + " "
    out = out[:n]
    # The cut must not leave a blank at the end or split a "###".
    while out.endswith(" ") or out.endswith("#"):
        out = out.rstrip(" #")
    return out + "x" * (n - len(out))


def cmd_data(folder, keys):
    """data FOLDER KEY=LENGTH...: tipp.dat with these texts (other keys: "lat"), tipps.dat, 1.dat, expected_KEY.txt."""
    order = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    texts = ["lat"] * 36
    for entry in keys:
        key, length = entry.split("=")
        text = make_text(int(length), seed=int(length))
        texts[order.index(key)] = text
        with open(os.path.join(folder, f"expected_{key}.txt"), "w", encoding="utf-8", newline="") as f:
            f.write(text.replace("###", "\r\n"))
    with open(os.path.join(folder, "tipp.dat"), "wb") as f:
        f.write("".join(t + "\r\n" for t in texts).encode("cp1252"))
    with open(os.path.join(folder, "tipps.dat"), "wb") as f:
        f.write(b"\r\n" * 9)
    open(os.path.join(folder, "1.dat"), "wb").close()


def cmd_probe(record, presses):
    """Injection path alone: SendInput in a helper process until the key message reaches the target."""
    events = read_record(record)
    lat = []
    for _, t in read_presses(presses):
        i = first_index(events, at_or_after(events, t), lambda e: e[2] == WM_KEYDOWN)
        if i is not None:
            lat.append(ms(events[i][0] - t))
    print(f"  SendInput -> key message in the target: {stats(lat)}")
    if lat:
        summary("SendInput delivery, other process (median)", f"{statistics.median(lat):.2f} ms")
    return lat


def cmd_latency(record, presses, scan_vk):
    """Per press: X press -> real key at the target (a), -> first synthetic Backspace (total)."""
    events = read_record(record)
    real_vk = {"trigger": 0x60, "scan": scan_vk}
    result = {}
    for kind, t in read_presses(presses):
        start = at_or_after(events, t)
        i = first_index(events, start, lambda e: e[2] == WM_KEYDOWN and e[3] == real_vk[kind])
        if i is None:
            result.setdefault(kind, []).append(None)
            continue
        j = first_index(events, i, lambda e: e[2] == WM_KEYDOWN and e[3] == VK_BACK)
        # A Backspace that belongs to a later press means this press was missed.
        nxt = first_index(events, i + 1, lambda e: e[2] == WM_KEYDOWN and e[3] in (0x60, scan_vk))
        if j is None or (nxt is not None and nxt < j):
            result.setdefault(kind, []).append(None)
            continue
        result.setdefault(kind, []).append((ms(events[i][0] - t), ms(events[j][0] - t)))
    for kind in ("trigger", "scan"):
        rows = result.get(kind, [])
        hits = [r for r in rows if r]
        missed = len(rows) - len(hits)
        total = [r[1] for r in hits]
        to_target = [r[0] for r in hits]
        engine = [r[1] - r[0] for r in hits]
        label = "keypad 0 -> first Backspace" if kind == "trigger" else "letter while armed -> first Backspace"
        print(f"  {label} ({len(rows)} presses, {missed} not recognised)")
        print(f"    total (xdotool keydown -> Backspace at target): {stats(total)}")
        print(f"    a) xdotool keydown -> real key message at target: {stats(to_target)}")
        print(f"    b) real key at target -> Backspace at target (engine poll + hand-over): {stats(engine)}")
        if total:
            summary(f"Detection {kind}: median / worst", f"{statistics.median(total):.1f} / {max(total):.1f} ms",
                    f"{missed} of {len(rows)} missed")
            summary(f"  {kind}: of which engine part b (median / worst)",
                    f"{statistics.median(engine):.1f} / {max(engine):.1f} ms")


def cmd_delivery(record, presses, key_vk, expected, text, label):
    """From the first Backspace to the last character of the text handled by the target."""
    events = read_record(record)
    (_, t), = read_presses(presses)
    i = first_index(events, at_or_after(events, t), lambda e: e[2] == WM_KEYDOWN and e[3] == key_vk)
    j = None if i is None else first_index(events, i, lambda e: e[2] == WM_KEYDOWN and e[3] == VK_BACK)
    report_delivery(events, j, expected, text, label)


def cmd_floor(record, line, expected, text, label):
    """The same span for the floor: the same events in one SendInput call from a helper (benchfloor)."""
    events = read_record(record)
    start, end, sent, planned = (int(x) for x in line.split())
    j = first_index(events, at_or_after(events, start), lambda e: e[2] == WM_KEYDOWN and e[3] == VK_BACK)
    if sent != planned:
        print(f"  {label}: SendInput took {sent} of {planned} events")
    report_delivery(events, j, expected, text, f"{label} (one call of {planned} events, returned after "
                    f"{ms(end - start):.1f} ms)")


def report_delivery(events, j, expected, text, label):
    with open(expected, encoding="utf-8", newline="") as f:
        want = f.read()
    with open(text, encoding="utf-8", newline="") as f:
        got = f.read()
    complete = got == want
    if j is None:
        print(f"  {label}: no hand-over seen; complete={complete}")
        return
    chars = [e for e in events[j:] if e[2] == WM_CHAR and e[3] != VK_BACK]
    # The text ends with a character; the user's own key release may come later and does not count.
    last = chars[-1][1] if chars else events[j][1]
    span = [e for e in events[j:] if e[0] <= last]
    inside = sum(e[1] - e[0] for e in span)  # in the target's handlers (the edit control's own work)
    first_char = chars[0][0] if chars else last
    prefix = os.path.commonprefix([got, want])
    total = last - events[j][0]
    print(f"  {label}: hand-over -> last character handled {ms(total):.1f} ms "
          f"(text starts after {ms(first_char - events[j][0]):.1f} ms; {ms(inside):.1f} ms inside the target's "
          f"handlers, {ms(total - inside):.1f} ms between messages; {len(span)} key messages, "
          f"{ms(total) * 1000 / max(len(span), 1):.0f} us each), complete and in order: "
          f"{'yes' if complete else f'NO (got {len(got)} of {len(want)}, equal up to {len(prefix)})'}")
    print(f"RESULT {ms(total):.3f} {1 if complete else 0} {ms(inside):.3f}")


def read_runs(files):
    times, inside, complete = [], [], 0
    for path in files:
        with open(path) as f:
            for line in f:
                if line.startswith("RESULT "):
                    _, t, ok, handlers = line.split()
                    times.append(float(t))
                    inside.append(float(handlers))
                    complete += int(ok)
    return times, inside, complete


def cmd_compare(label, goal, *files):
    """compare LABEL GOAL WORTWERK_FILES... -- FLOOR_FILES...: medians side by side and their ratio."""
    split = files.index("--")
    ww, ww_inside, ww_complete = read_runs(files[:split])
    floor, _, floor_complete = read_runs(files[split + 1:])
    print(f"  {label}, wortwerk.exe: {stats(ww)}; complete {ww_complete} of {split}")
    print(f"  {label}, floor (one SendInput call of the same events): {stats(floor)}; "
          f"complete {floor_complete} of {len(files) - split - 1}")
    if not ww or not floor:
        return
    a, b = statistics.median(ww), statistics.median(floor)
    print(f"  => wortwerk.exe / floor: {a:.1f} / {b:.1f} ms = {a / b:.2f}x")
    complete = f"complete {ww_complete}/{split} and {floor_complete}/{len(files) - split - 1}"
    summary(f"Delivery {label}: wortwerk / floor (median)", f"{a:.1f} / {b:.1f} ms = {a / b:.2f}x",
            "; ".join(x for x in (goal, complete) if x))
    if statistics.median(ww_inside) >= 1:
        summary("  of which inside the edit control (wortwerk, median)", f"{statistics.median(ww_inside):.1f} ms")


def main():
    cmd, args = sys.argv[1], sys.argv[2:]
    if cmd == "data":
        cmd_data(args[0], args[1:])
    elif cmd == "probe":
        cmd_probe(*args)
    elif cmd == "latency":
        cmd_latency(args[0], args[1], int(args[2], 0))
    elif cmd == "delivery":
        cmd_delivery(args[0], args[1], int(args[2], 0), args[3], args[4], args[5])
    elif cmd == "floor":
        cmd_floor(*args)
    elif cmd == "compare":
        cmd_compare(args[0], args[1], *args[2:])
    else:
        sys.exit(f"unknown command {cmd}")


if __name__ == "__main__":
    main()
