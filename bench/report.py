#!/usr/bin/env python3
"""Turns the benchmark's raw figures into its table of ratios, ours against theirs, with each
figure against its goal: prints the table, writes it to a Markdown file with the method, and
draws the chart (PNG, with ImageMagick's convert).

Usage: report.py --results FILE --setup EXE --uninstaller EXE --nsis EXE --nsis-lzma EXE
                 --payload PAYLOAD_RC --runs N --memory-runs N [--load-before LOAD]
                 --markdown FILE --chart FILE

The results file holds "WHO KEY VALUE" lines as tools/bench.sh collects them.
"""
import argparse
import collections
import datetime
import os
import platform
import re
import statistics
import subprocess
import sys

KB = 1024
SIZE_APART_GOAL = 140 * KB
UNINSTALLER_GOAL = 64 * KB
STARTUP_GOAL = 0.8
WORK_GOAL = 1.5


def read_results(path):
    values = collections.defaultdict(list)
    with open(path, encoding="utf-8", newline="\n") as f:  # a stray CR is no line end
        for line in f:
            fields = line.split()
            if len(fields) == 3:
                values[(fields[0], fields[1])].append(float(fields[2]))
    return values


def payload_files(payload_rc):
    """(distinct payload bytes, largest payload file) of the resource script's files."""
    with open(payload_rc, encoding="ascii") as f:
        paths = set(re.findall(r'OWNER_DATA "([^"]+)"', f.read()))
    contents = set()
    for path in paths:
        with open(path, "rb") as f:
            contents.add(f.read())
    return sum(map(len, contents)), max(map(len, contents)), len(paths)


def median(values, what):
    if not values:
        sys.exit(f"report: no figures for {what}")
    return statistics.median(values)


def paired_ratios(ours, theirs):
    """(median, lower quartile, upper quartile) of ours / theirs over runs taken one after
    the other: the load the machine carried at that moment weighs on both alike."""
    ratios = [a / b for a, b in zip(ours, theirs)]
    if len(ratios) < 4:
        return statistics.median(ratios), min(ratios), max(ratios)
    lower, _, upper = statistics.quantiles(ratios, n=4)
    return statistics.median(ratios), lower, upper


class Row:
    def __init__(self, measure, ours, theirs, goal_text="", met=None, chart=None, goal_ratio=None, paired=None):
        self.measure, self.ours, self.theirs = measure, ours, theirs
        self.goal_text, self.met = goal_text, met
        self.chart, self.goal_ratio = chart, goal_ratio  # chart: (label, ratio) or None
        self.paired = paired

    def cells(self):
        verdict = "" if self.met is None else ("met" if self.met else "**missed**")
        ratio = f"{self.chart[1]:.2f}" if self.chart else "—"
        if self.paired is not None:
            ratio += f" (paired runs: {self.paired[0]:.2f}, middle half {self.paired[1]:.2f}–{self.paired[2]:.2f})"
        return [self.measure, self.ours, self.theirs, ratio, self.goal_text, verdict]


def number(value):
    return f"{value:,.0f}"


def build_rows(args, results):
    setup, uninstaller = os.path.getsize(args.setup), os.path.getsize(args.uninstaller)
    nsis, nsis_lzma = os.path.getsize(args.nsis), os.path.getsize(args.nsis_lzma)
    distinct, largest, ids = payload_files(args.payload)
    ours_apart, theirs_apart = setup - distinct, nsis - distinct

    start_ours = median(results[("ours", "first_page")], "our start-up")
    start_theirs = median(results[("nsis", "first_page")], "NSIS's start-up")
    work = median(results[("work", "install")], "the install work")
    bare_copy = median(results[("work", "bare_copy")], "the bare copy")
    work_files = results[("work", "files")][0]
    work_bytes = results[("work", "bytes")][0]
    start_bare = median(results[("bare", "first_page")], "the bare dialog's start-up")
    start_bare_spooler = median(results[("bare_spooler", "first_page")], "the spooler dialog's start-up")
    peak_ours = median(results[("ours", "peak_private")], "our peak private bytes")
    peak_theirs = median(results[("nsis", "peak_private")], "NSIS's peak private bytes")
    peak_bare = median(results[("bare", "peak_private")], "the bare dialog")
    peak_bare_spooler = median(results[("bare_spooler", "peak_private")], "the bare dialog with the spooler")
    allowance = 2 * largest

    rows = [
        Row("File size, bytes", number(setup), f"{number(nsis)} (NSIS, uncompressed)",
            chart=("file size", setup / nsis)),
        Row("File size against NSIS with LZMA, bytes", number(setup), f"{number(nsis_lzma)} (NSIS, solid LZMA)",
            chart=("file size (LZMA)", setup / nsis_lzma)),
        Row(f"Size apart from the payload ({number(distinct)} distinct bytes in {ids} ids), bytes",
            number(ours_apart), number(theirs_apart), f"≤ {number(SIZE_APART_GOAL)} (140 KB)",
            ours_apart <= SIZE_APART_GOAL, chart=("size apart from payload", ours_apart / theirs_apart)),
        Row("Uninstaller (payload 255), bytes", number(uninstaller), "—", f"≤ {number(UNINSTALLER_GOAL)} (64 KB)",
            uninstaller <= UNINSTALLER_GOAL),
        Row(f"Start-up to the first painted page, median of {len(results[('ours', 'first_page')])}, ms",
            f"{start_ours:.1f}", f"{start_theirs:.1f} (NSIS)", f"ratio ≤ {STARTUP_GOAL}",
            start_ours / start_theirs <= STARTUP_GOAL, chart=("start-up", start_ours / start_theirs),
            goal_ratio=STARTUP_GOAL,
            paired=paired_ratios(results[("ours", "first_page")], results[("nsis", "first_page")])),
        Row("Start-up of the bare dialogs, for reference, ms", "—",
            f"{start_bare:.1f} (bare), {start_bare_spooler:.1f} (with the spooler and common controls)"),
        Row(f"Install sequence's own work, median of {len(results[('work', 'install')])}, ms",
            f"{work:.1f}", f"{bare_copy:.1f} (bare copy of the same {number(work_bytes)} bytes, {work_files:.0f} files)",
            f"ratio ≤ {WORK_GOAL}", work / bare_copy <= WORK_GOAL, chart=("install work", work / bare_copy),
            goal_ratio=WORK_GOAL, paired=paired_ratios(results[("work", "install")], results[("work", "bare_copy")])),
        Row(f"Peak private bytes of a whole install, median of {len(results[('ours', 'peak_private')])}",
            number(peak_ours), f"{number(peak_theirs)} (NSIS)", chart=("peak private bytes", peak_ours / peak_theirs)),
        Row("Peak private bytes above the bare dialog", number(peak_ours - peak_bare),
            f"bare dialog: {number(peak_bare)}", f"≤ {number(allowance)} (twice the largest file)",
            peak_ours - peak_bare <= allowance),
        Row("Peak private bytes above the bare dialog that loads the spooler and common controls",
            number(peak_ours - peak_bare_spooler), f"that dialog: {number(peak_bare_spooler)}",
            f"≤ {number(allowance)} (twice the largest file)", peak_ours - peak_bare_spooler <= allowance),
    ]
    figures = {"spooler_memory": peak_bare_spooler - peak_bare, "start_ours": start_ours,
               "start_theirs": start_theirs, "start_bare": start_bare, "start_bare_spooler": start_bare_spooler,
               "peak_above_spooler": peak_ours - peak_bare_spooler}
    return rows, figures


def markdown_table(rows):
    header = ["Measure", "Ours (setup.exe)", "Theirs", "Ratio", "Goal", ""]
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(row.cells()) + " |" for row in rows]
    return "\n".join(lines)


def plain_table(rows):
    lines = []
    for row in rows:
        measure, ours, theirs, ratio, goal, verdict = row.cells()
        lines.append(f"{measure}\n    ours {ours} | theirs {theirs} | ratio {ratio}"
                     + (f" | goal {goal}: {verdict.strip('*')}" if goal else ""))
    return "\n".join(lines)


def draw_chart(rows, path):
    """Horizontal bars of ours / theirs; a grey line at 1 (equal), red marks at ratio goals."""
    charted = [row for row in rows if row.chart]
    width, left, scale, top, step = 640, 190, 200, 34, 30
    height = top + step * len(charted) + 20
    draw = [f"stroke gray line {left + scale} {top - 8} {left + scale} {height - 12}"]
    text = [("ours / theirs (1 = the same; shorter is better)", 10, 20)]
    for i, row in enumerate(charted):
        label, ratio = row.chart
        y = top + step * i
        bar = max(1, int(min(ratio, 2.0) * scale))
        colour = "#3b78b8" if row.met is not False else "#c0392b"
        draw.append(f"fill {colour} stroke none rectangle {left} {y} {left + bar} {y + 18}")
        if row.goal_ratio:
            x = left + int(row.goal_ratio * scale)
            draw.append(f"stroke #c0392b stroke-width 3 line {x} {y - 3} {x} {y + 21}")
            draw.append("stroke-width 1")
        text.append((label, 10, y + 14))
        text.append((f"{ratio:.2f}", left + bar + 6, y + 14))
    command = ["convert", "-size", f"{width}x{height}", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "12"]
    for primitive in draw:
        command += ["-draw", primitive]
    command += ["-fill", "black", "-stroke", "none"]
    for label, x, y in text:
        command += ["-annotate", f"+{x}+{y}", label]
    command += ["-fill", "#c0392b", "-annotate", f"+10+{height - 4}",
                "red mark: the ratio's goal; a red bar: its goal missed", path]
    subprocess.run(command, check=True)


def wine_version():
    try:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def write_markdown(args, rows, figures, path, chart_name):
    load = os.getloadavg()[0] if hasattr(os, "getloadavg") else float("nan")
    today = datetime.date.today().isoformat()
    text = f"""# Benchmark: setup.exe against an NSIS installer of the same payload

`bash tools/bench.sh` builds everything (Release), builds an installer of the same payload
files with Debian's NSIS (`bench/q73.nsi`: Modern UI welcome and install pages, stored
uncompressed like ours, closing itself after the install, NSIS's defaults otherwise), runs
both under Wine in one session, interleaved, and writes this page.

Measured {today} on {platform.machine()}, {os.cpu_count()} cores shared with other work (load
average {args.load_before:.1f} at the start, {load:.1f} at the end), {wine_version()}, a Wine
prefix of the benchmark's own, a virtual display. Timings under load vary from run to run;
the medians of interleaved runs are meant to hold against that, not to remove it.

{markdown_table(rows)}

![ours against theirs]({chart_name})

## Reading the figures

- Any dialog program takes {figures["start_bare"]:.0f} ms here to show its first painted page,
  most of it Wine starting a process. A dialog that first loads the common controls and the
  spooler, as setup.exe must before its wizard (it checks the printer name against the
  driver directory), takes {figures["start_bare_spooler"]:.0f} ms; setup.exe takes
  {figures["start_ours"]:.0f} ms, NSIS's installer {figures["start_theirs"]:.0f} ms. A ratio of
  {STARTUP_GOAL} would need {STARTUP_GOAL * figures["start_theirs"]:.0f} ms.
- The payload is mapped from the file and written from the mapping, not copied into
  private memory. Above the dialog that loads the same system components, setup.exe's whole install
  takes {number(figures["peak_above_spooler"])} private bytes; the rest of its distance to the
  bare dialog is the {number(figures["spooler_memory"])} bytes that the spooler and the common
  controls cost inside any process under Wine.

## How each figure is measured

- **File sizes.** The payload is the distinct bytes of the files setup.exe carries (each
  stored once in both installers: by our resource-sharing step, and by NSIS's data-block
  optimiser). "Apart from the payload" is the file size less those bytes: code, dialogs,
  pictures, resource tree, headers. Both installers are uncompressed; NSIS's LZMA file is
  shown for reference.
- **Start-up to the first painted page.** `bench_measure first-page` starts the installer
  from its own folder with `CreateProcess` and polls until one of its top-level windows is
  visible, holds a visible page (a child dialog with controls), and neither it nor any
  visible child window has anything left to paint (an empty update region). Each run is a
  new process; one untimed run of each comes first (setup.exe's first run writes its
  language files). Runs alternate which installer goes first; the bare dialogs (below) are
  started the same way after each pair, for what any dialog program costs to start here.
  Median of {args.runs} each.
- **The install sequence's own work.** `bench_install` links the installer's library and
  carries setup.exe's payload, stored the same way, and times `StageAndCopyDriverFiles`: staging the
  driver set for this system below `C:\\TEMP` (GPD and INI patched for the printer name) and
  the copies into the spooler's driver directory. The housekeeping before it, the print-UI
  it runs next and the outcome message are left out. Against it, a bare `CopyFileA` of the
  same files with the same bytes to the same places (the staged ones from a copy made
  once). Pairs alternate which goes first; every run starts from an empty staging folder.
  A test (`bench_install.*`) checks that both leave the same files, byte for byte.
- **Peak private bytes.** `PROCESS_MEMORY_COUNTERS.PeakPagefileUsage`, read by
  `bench_measure` every 2 ms or so while the installer runs: under Wine the counter is the
  process's private resident memory at that moment (not a peak; it falls when memory is
  freed) and reads 0 once the process has ended, so the largest sample stands for the peak
  (on Windows the counter itself is the peak). setup.exe is walked through a whole install (Next, Next, the series,
  Next, the outcome confirmed; the print-UI stand-in adds no printer, so that every run does
  the same work); NSIS's installer is taken from its welcome page through its install,
  which closes itself. The bare dialog is a dialog of the wizard's size with one page and
  two buttons, sitting on its page for half a second; the second one first makes the two
  calls setup.exe makes before its wizard that load system components (the common controls,
  and the spooler's driver directory). Under Wine the spooler runs inside the calling
  process and loads the common controls with it: here the second dialog has
  {number(figures["spooler_memory"])} private bytes more than the first. The goal is shown
  against both. Median of {args.memory_runs} each.

The goals are those the team set for this work; "ratio" is ours divided by theirs, the
medians' ratio, and for the timings also the median of the ratios of runs taken one after
the other, which the machine's changing load disturbs less, with the middle half of those
ratios: how far a single run may land from the median.
"""
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main(argv):
    parser = argparse.ArgumentParser(description="The benchmark's report.")
    for name in ("results", "setup", "uninstaller", "nsis", "nsis-lzma", "payload", "markdown", "chart"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--memory-runs", type=int, required=True)
    parser.add_argument("--load-before", type=float, default=float("nan"),
                        help="the machine's load average when the benchmark began")
    args = parser.parse_args(argv[1:])
    rows, figures = build_rows(args, read_results(args.results))
    draw_chart(rows, args.chart)
    write_markdown(args, rows, figures, args.markdown, os.path.relpath(args.chart, os.path.dirname(args.markdown)))
    print(plain_table(rows))
    print(f"Written: {args.markdown}, {args.chart}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
