"""The benchmarks of `make bench`: the installer beside a peer installer built from the same payload, in
the same run, on a private X display with a window manager and a private Wine prefix whose wineserver
stays up (warm) for the whole run.

  bench.py ROUNDS PEER

PEER is the peer installer (bench/run.sh builds it). Every timed figure is taken ROUNDS times, the
programs compared taking turns within a round, and reported as median, min and max. The table goes to
standard output and into docs/benchmarks.md between its table markers; each target is reported as met
or not. Nothing here is a test: nothing fails on a missed target.
"""

import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "e2e"))

import image_size  # noqa: E402
import kw  # noqa: E402
import wizard  # noqa: E402

BENCH = os.path.join(ROOT, "build", "bench")
PRODUCT = os.path.join(ROOT, "dist", "KestrowinSetup.exe")
PRODUCT_PAYLOAD = os.path.join(ROOT, "build", "win32", "payload")
PRODUCT_MAP = os.path.join(ROOT, "build", "win32", "kestrowin_setup.map")
PICTURES = os.path.join(ROOT, "assets", "pictures")
FLOOR = os.path.join(ROOT, "build", "win64", "bench", "kw_floor.exe")
FLOOR_DLLS = os.path.join(ROOT, "build", "win64", "bench", "kw_floor_dlls.exe")
INSTALL_BENCH_HOST = os.path.join(ROOT, "build", "host", "bench", "kw_install_bench")
INSTALL_BENCH_FILES = os.path.join(ROOT, "build", "win64", "bench", "kw_install_bench_files.exe")
INSTALL_BENCH_SCREEN = os.path.join(ROOT, "build", "win64", "bench", "kw_install_bench_screen.exe")
MAPWATCH = os.path.join(BENCH, "mapwatch")
PEER_STUB = "/usr/share/nsis/Stubs/zlib-amd64-unicode"
DOC = os.path.join(ROOT, "docs", "benchmarks.md")
TABLE_BEGIN = "<!-- table begin: written by make bench -->"
TABLE_END = "<!-- table end -->"

CAPTION_PEER = "Kestrowin Peer Setup"
CAPTION_FLOOR = "Kestrowin Floor"
# The peak memory "after the first window" is read this long after the map, once the screen has drawn.
AFTER_MAP_MS = 150
IDLE_SECONDS = 10.0
IDLE_SETTLE_SECONDS = 1.0
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
KIB = 1024
MIB = 1024 * 1024


def files_size(folder, names=None):
    names = names if names is not None else sorted(os.listdir(folder))
    return sum(os.path.getsize(os.path.join(folder, name)) for name in names)


def stats(values):
    return statistics.median(values), min(values), max(values)


class Table:
    def __init__(self):
        self.rows = []
        self.targets = []

    def add(self, what, values, unit, digits=1):
        """A measured row: median, min and max of `values`."""
        median, low, high = stats(values)
        self.rows.append((what, "%.*f" % (digits, median), "%.*f" % (digits, low), "%.*f" % (digits, high),
                          unit, len(values)))
        return median

    def fixed(self, what, value, unit):
        """A row that does not vary from run to run (a size)."""
        self.rows.append((what, "{:,}".format(value), "", "", unit, 1))
        return value

    def target(self, what, met, detail):
        self.targets.append((what, "met" if met else "NOT met", detail))

    def markdown(self, machine):
        out = ["| Figure | Median | Min | Max | Unit | Runs |", "|---|---:|---:|---:|---|---:|"]
        for row in self.rows:
            out.append("| %s | %s | %s | %s | %s | %d |" % row)
        out += ["", "| Target | Verdict | Measured |", "|---|---|---|"]
        for row in self.targets:
            out.append("| %s | %s | %s |" % row)
        out += ["", "Machine: " + machine]
        return "\n".join(out)


def machine_description():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    wine = subprocess.run([kw.WINE, "--version"], capture_output=True, text=True).stdout.strip()
    compiler = subprocess.run(["i686-w64-mingw32-g++", "-dumpversion"], capture_output=True,
                              text=True).stdout.strip()
    # Other work on the machine spreads the timed figures; the load says how busy it was.
    load = " ".join("%.2f" % value for value in os.getloadavg())
    return "%s, %d cores, Linux %s, %s, MinGW-w64 GCC %s, run %s UTC, load average at the end %s" % (
        cpu, os.cpu_count(), platform.release(), wine, compiler, time.strftime("%Y-%m-%d %H:%M",
                                                                             time.gmtime()), load)


# --- 1. image overhead ---------------------------------------------------------------------------------

def image_overhead(table, peer, peer_pictures):
    payload = files_size(PRODUCT_PAYLOAD)
    pictures = files_size(PICTURES, ["banner.jpg", "error_banner.jpg", "error_side.jpg"])
    product = os.path.getsize(PRODUCT)
    _, groups, members = image_size.breakdown(PRODUCT, PRODUCT_MAP, "i686-w64-mingw32-objdump",
                                              payload, pictures)
    overhead = product - payload - pictures
    table.fixed("Product (32-bit) file", product, "bytes")
    table.fixed("  payload (5 files) + pictures (3 JPEG)", payload + pictures, "bytes")
    table.fixed("**Product image overhead**", overhead, "bytes")
    for group, _ in image_size.GROUPS:
        if groups.get(group):
            table.fixed("  of which " + group, groups[group], "bytes")
    peer_size = os.path.getsize(peer)
    peer_overhead = peer_size - files_size(kw.PAYLOAD_DIR) - peer_pictures
    table.fixed("Peer file", peer_size, "bytes")
    table.fixed("  payload + pictures (3 BMP, the form it shows)", peer_size - peer_overhead, "bytes")
    table.fixed("**Peer image overhead**", peer_overhead, "bytes")
    # Its program is a PE image with the installation's data appended after the last section.
    peer_stub = max(offset + (size + 511) // 512 * 512
                    for _, size, offset in image_size.section_table("x86_64-w64-mingw32-objdump", peer))
    table.fixed("  of which its stub with its resources (the PE image before the appended data)", peer_stub,
                "bytes")
    table.fixed("  its bare stub as shipped (%s)" % os.path.basename(PEER_STUB), os.path.getsize(PEER_STUB),
                "bytes")
    table.target("Image overhead <= 160 KiB", overhead <= 160 * KIB,
                 "%.1f KiB (peer %.1f KiB, its stub with resources %.1f KiB)"
                 % (overhead / KIB, peer_overhead / KIB, peer_stub / KIB))
    largest = []
    for group in ("our code", "libjpeg", "C runtime", "C++ runtime"):
        for member, size in image_size.top_members(members, group, 3):
            largest.append("%s %s %d" % (group, member, size))
    return largest


# --- 2. first window, and memory just after it ----------------------------------------------------------

def output_of(args, environment, cwd=None, timeout=300):
    """What `args` writes, through a file: a pipe would stay open as long as the Wine helper processes
    that inherited it (services, explorer), long after the program itself has ended."""
    with tempfile.TemporaryFile(mode="w+") as output:
        result = subprocess.run(args, env=environment.env, cwd=cwd, stdout=output, stderr=subprocess.STDOUT,
                                timeout=timeout)
        output.seek(0)
        text = output.read()
    if result.returncode != 0:
        raise kw.E2EError("%s ended with %d: %s" % (os.path.basename(args[0]), result.returncode, text))
    return text


def mapwatch(environment, program, caption, workdir):
    """(milliseconds to the first map, peak KiB AFTER_MAP_MS later) of one start of `program`."""
    text = output_of([MAPWATCH, "-n", caption, "-t", "30000", "-m", str(AFTER_MAP_MS), "--", kw.WINE,
                      program], environment, cwd=workdir, timeout=60)
    match = re.match(r"mapped ([\d.]+) window \S+ peak_kib (-?\d+)", text)
    if not match:
        raise kw.E2EError("%s: no window (%s)" % (program, text.strip()))
    return float(match.group(1)), int(match.group(2))


def first_window(table, environment, peer, rounds):
    programs = [("twin", kw.INSTALLER, "Kestrowin Game Installer"), ("peer", peer, CAPTION_PEER),
                ("floor", FLOOR, CAPTION_FLOOR), ("floor-dlls", FLOOR_DLLS, CAPTION_FLOOR)]
    times = {name: [] for name, _, _ in programs}
    peaks = {name: [] for name, _, _ in programs}
    workdir = environment.workdir("first-window")
    for _, program, caption in programs:
        mapwatch(environment, program, caption, workdir)  # unrecorded: the first touch of each file
    for round_number in range(rounds):
        # Each program takes each place in the order in turn.
        shift = round_number % len(programs)
        for name, program, caption in programs[shift:] + programs[:shift]:
            elapsed, peak = mapwatch(environment, program, caption, workdir)
            times[name].append(elapsed)
            peaks[name].append(peak)
    twin = table.add("**First window: twin** (start to MapNotify)", times["twin"], "ms")
    peer_ms = table.add("First window: peer", times["peer"], "ms")
    floor = table.add("First window: floor (a bare Win32 window)", times["floor"], "ms")
    table.add("  the floor importing the installer's DLLs, with its manifest", times["floor-dlls"], "ms")
    table.fixed("  twin / peer (medians), per mille", round(1000 * twin / peer_ms), "")
    table.target("First window median <= the peer's", twin <= peer_ms, "%.1f ms vs %.1f ms" % (twin, peer_ms))
    excess, peer_excess = twin - floor, peer_ms - floor
    table.target("First window excess over the floor <= 1/3 of the peer's", excess <= peer_excess / 3,
                 "%.1f ms vs %.1f / 3 = %.1f ms" % (excess, peer_excess, peer_excess / 3))
    return {name: [kib / 1024 for kib in values] for name, values in peaks.items()}


# --- 3. install work ----------------------------------------------------------------------------------

def parse_install_bench(output):
    rows = {}
    for line in output.splitlines():
        words = line.split()
        if words:
            rows[words[0]] = [float(w) for w in words[1:]]
    return rows


def install_work(table, environment, rounds):
    folder = tempfile.mkdtemp(prefix="install-", dir=BENCH)
    try:
        host_rows = parse_install_bench(output_of([INSTALL_BENCH_HOST, os.path.join(folder, "host"),
                                                   str(rounds)], environment))
        wine_rows = {}
        for name, program in (("files", INSTALL_BENCH_FILES), ("screen", INSTALL_BENCH_SCREEN)):
            wine_rows[name] = parse_install_bench(output_of(
                [kw.WINE, program, kw.windows_path(os.path.join(folder, name)), kw.windows_path(kw.PAYLOAD_DIR),
                 str(rounds)], environment))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    pauses = host_rows["pauses"]
    host_install = table.add("**Install work, host** (POSIX files, pauses counted not slept)",
                             host_rows["install"], "ms", 2)
    host_copy = table.add("  plain copy of the same files, host", host_rows["copy"], "ms", 2)
    wine_install = table.add("**Install work, wine64** (Win32 files, no window)",
                             wine_rows["files"]["install"], "ms", 2)
    wine_copy = table.add("  plain copy with CreateFile/WriteFile, wine64", wine_rows["files"]["copy"], "ms", 2)
    table.add("  the same copy flushing each file before closing it, wine64", wine_rows["files"]["flushed-copy"],
              "ms", 2)
    table.add("Install work, wine64, with the real extraction screen", wine_rows["screen"]["install"], "ms", 2)
    table.add("  plain copy beside it", wine_rows["screen"]["copy"], "ms", 2)
    table.fixed("  pauses an installation asks for (not in the figures above)", int(pauses[1]), "ms")
    table.add("  one Sleep(10) of those pauses under wine64", wine_rows["screen"]["sleep"], "ms", 2)
    table.target("Install work <= 1.5 x plain copy, host", host_install <= 1.5 * host_copy,
                 "%.2f ms vs 1.5 x %.2f ms (%.2f x)" % (host_install, host_copy, host_install / host_copy))
    table.target("Install work <= 2 x plain copy, wine64", wine_install <= 2 * wine_copy,
                 "%.2f ms vs 2 x %.2f ms (%.2f x)" % (wine_install, wine_copy, wine_install / wine_copy))


# --- 4. peak memory -----------------------------------------------------------------------------------

def peak_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        return int(re.search(r"^VmHWM:\s+(\d+) kB", status.read(), re.M).group(1))


def whole_installation_peak(environment):
    """Peak resident memory (MiB) of the twin over a whole installation, driven as a user would: agree,
    take the default destination, confirm, wait for the files, go on to the last screen."""
    installer = kw.Installer(environment, environment.workdir("memory"))
    try:
        for caption, button, following in ((wizard.CAPTION_AGREEMENT, 3, wizard.CAPTION_LOCATION),
                                           (wizard.CAPTION_LOCATION, 4, wizard.CAPTION_VERIFY),
                                           (wizard.CAPTION_VERIFY, 4, wizard.CAPTION_EXTRACTION)):
            installer.wait_window(caption)
            installer.wait_control(wizard.LAST_CONTROL[caption])
            installer.click(button)
            installer.wait_window(following, fresh=True)
        kw.wait_until(lambda: installer.control(3).get("enabled"), wizard.INSTALL_TIMEOUT, "the installation")
        installer.click(3)
        installer.wait_window(wizard.CAPTION_FINISH, fresh=True)
        installer.wait_control(wizard.LAST_CONTROL[wizard.CAPTION_FINISH])
        return peak_kib(installer.process.pid) / 1024
    finally:
        installer.stop()


def peer_silent_install(environment, peer):
    """(wall ms, peak MiB) of the peer installing the payload silently into a fresh folder."""
    target = environment.workdir("peer-silent")
    start = time.monotonic()
    process = subprocess.Popen([kw.WINE, peer, "/S", "/D=" + kw.windows_path(target)], env=environment.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = (time.monotonic() - start) * 1000
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0 or not os.path.isfile(os.path.join(target, "Kestrowin", "Assets.zip")):
        raise kw.E2EError("the peer's silent installation failed (%s)" % process.returncode)
    shutil.rmtree(target, ignore_errors=True)
    return elapsed, usage.ru_maxrss / 1024


def memory(table, environment, peer, after_map, rounds):
    twin_whole, peer_whole, peer_wall = [], [], []
    for _ in range(rounds):
        twin_whole.append(whole_installation_peak(environment))
        wall, peak = peer_silent_install(environment, peer)
        peer_wall.append(wall)
        peer_whole.append(peak)
    twin = table.add("**Peak memory, twin, whole installation**", twin_whole, "MiB")
    table.add("Peak memory, twin, %d ms after its first window" % AFTER_MAP_MS, after_map["twin"], "MiB")
    table.add("Peak memory, peer, %d ms after its first window" % AFTER_MAP_MS, after_map["peer"], "MiB")
    table.add("Peak memory, peer, whole silent installation", peer_whole, "MiB")
    floor = table.add("Peak memory, floor, %d ms after its window" % AFTER_MAP_MS, after_map["floor"], "MiB")
    table.add("  the floor importing the installer's DLLs, with its manifest", after_map["floor-dlls"], "MiB")
    table.add("Peer's silent installation, wall (wine64 start to exit)", peer_wall, "ms")
    payload = files_size(kw.PAYLOAD_DIR) / MIB
    limit = floor + payload + 4
    table.target("Peak memory <= floor + payload + 4 MiB", twin <= limit,
                 "%.1f MiB vs %.1f + %.1f + 4 = %.1f MiB" % (twin, floor, payload, limit))


# --- 5. idle CPU --------------------------------------------------------------------------------------

def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def idle_cpu(table, environment, wineserver, rounds):
    shares, server_shares = [], []
    for _ in range(rounds):
        process = environment.spawn([kw.WINE, kw.INSTALLER], cwd=environment.workdir("idle"))
        try:
            kw.wait_until(lambda: environment.x("xdotool", "search", "--name", "^" +
                                                re.escape(wizard.CAPTION_AGREEMENT) + "$", check=False),
                          kw.START_TIMEOUT, "the first screen")
            # What the first screen still has to draw is no idling.
            time.sleep(IDLE_SETTLE_SECONDS)
            program_start, server_start = cpu_seconds(process.pid), cpu_seconds(wineserver.pid)
            start = time.monotonic()
            time.sleep(IDLE_SECONDS)
            span = time.monotonic() - start
            program = cpu_seconds(process.pid) - program_start
            server = cpu_seconds(wineserver.pid) - server_start
        finally:
            kw.stop_process(process)
            environment.forget(process)
        shares.append(100 * (program + server) / span)
        server_shares.append(100 * server / span)
    share = table.add("**Idle CPU, twin + wineserver**, first screen standing %.0f s" % IDLE_SECONDS, shares,
                      "% of a core", 2)
    table.add("  of which the wineserver", server_shares, "% of a core", 2)
    table.target("Idle CPU <= 2 % of one core", share <= 2, "%.2f %%" % share)


# --- the run ----------------------------------------------------------------------------------------

def write_doc(text):
    with open(DOC) as doc:
        content = doc.read()
    begin, end = content.find(TABLE_BEGIN), content.find(TABLE_END)
    if begin < 0 or end < begin:
        print("bench: %s has no table markers; the table is not saved there" % DOC, file=sys.stderr)
        return
    with open(DOC, "w") as doc:
        doc.write(content[:begin + len(TABLE_BEGIN)] + "\n" + text + "\n" + content[end:])


def main():
    rounds, peer, peer_pictures = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    kw.install_signal_handlers()
    table = Table()
    largest = image_overhead(table, peer, peer_pictures)
    environment = kw.Environment()
    try:
        environment.start()
        # Our own wineserver, persistent, so that every start finds it warm and its CPU can be read.
        subprocess.run([kw.WINESERVER, "-w"], env=environment.env, timeout=60)
        wineserver = environment.spawn([kw.WINESERVER, "-f", "-p"])
        after_map = first_window(table, environment, peer, rounds)
        install_work(table, environment, rounds)
        memory(table, environment, peer, after_map, rounds)
        idle_cpu(table, environment, wineserver, rounds)
    finally:
        environment.stop()
    text = table.markdown(machine_description())
    print(text)
    print("\nLargest members of the product's image (group, archive member, bytes):")
    for line in largest:
        print("  " + line)
    write_doc(text)


if __name__ == "__main__":
    main()
