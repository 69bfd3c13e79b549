#!/usr/bin/python3
"""Side-by-side benchmark: Umbrix in its three modes against the buffered write of the same
bytes, sympy's normal-form pipeline and booldnf, on growing formula families.

Every case runs pinned to one processor. Per case it prints and writes (CSV and Markdown):
wall time, document bytes, MB/s, peak memory, the largest formula, the ratio to the
buffered write of the same bytes (64 KiB writes), and the ratios to sympy and booldnf on the
same formula. Each family grows until the document passes --limit-mb or the member limit stops the run; a
run whose document passes --cut-mb or that takes longer than --max-seconds is cut there and
reported with the figures of the part written. The SHA-256 of every document goes into
the CSV; --compare OLD.csv reports every document whose hash differs from an earlier run.

Standard library only; the peers are Debian's python3-sympy (run with /usr/bin/python3) and
booldnf from the boolstuff package; GNU time measures the peak memory. A peer missing or slower than --timeout is left out.
"""
import argparse
import csv
import glob
import hashlib
import os
import resource
import random
import shutil
import subprocess
import sys
import tempfile
import time

MB = 1e6
CHUNK = 64 * 1024

# ---------------------------------------------------------------- formula families
# A formula is a tuple tree: ("var", i), ("not", a), ("and", [..]), ("or", [..]),
# ("imp", a, b), ("eqv", [..]) where an equivalence chain means all members equivalent.


def umbrix_text(f, top=True):
    kind = f[0]
    if kind == "var":
        return "x%d" % f[1]
    if kind == "not":
        return "-" + umbrix_text(f[1], False)
    if kind == "imp":
        text = umbrix_text(f[1], False) + "=>" + umbrix_text(f[2], False)
    else:
        joiner = {"and": "+", "or": "v", "eqv": "=="}[kind]
        text = joiner.join(umbrix_text(g, False) for g in f[1])
    return text if top else "(" + text + ")"


def chain_as_implications(members):
    """x1==x2==...==xn as Umbrix rewrites it: (xn=>x1)+(x1=>x2)+...+(xn-1=>xn)."""
    pairs = [(members[-1], members[0])] + list(zip(members, members[1:]))
    return ("and", [("imp", a, b) for a, b in pairs])


# How each peer writes a formula: negation and implication as patterns of their operands,
# "and" and "or" as opening, separator and closing around their members.
SYMPY_SPELLING = {"not": "Not(%s)", "imp": "Implies(%s, %s)",
                  "and": ("And(", ", ", ")"), "or": ("Or(", ", ", ")")}
BOOL_SPELLING = {"not": "!(%s)", "imp": "(!(%s)|(%s))",  # booldnf's syntax: & | ! and parentheses
                 "and": ("(", "&", ")"), "or": ("(", "|", ")")}


def peer_text(f, spelling):
    kind = f[0]
    if kind == "var":
        return "x%d" % f[1]
    if kind == "eqv":
        return peer_text(chain_as_implications(f[1]), spelling)
    if kind in ("not", "imp"):
        return spelling[kind] % tuple(peer_text(g, spelling) for g in f[1:])
    opening, separator, closing = spelling[kind]
    return opening + separator.join(peer_text(g, spelling) for g in f[1]) + closing


def sympy_text(f):
    return peer_text(f, SYMPY_SPELLING)


def bool_text(f):
    return peer_text(f, BOOL_SPELLING)


def var(i):
    return ("var", i)


def and_of_ors(n):
    return ("and", [("or", [var(2 * k + 1), var(2 * k + 2)]) for k in range(n)])


def or_of_ands(n):
    return ("or", [("and", [var(2 * k + 1), var(2 * k + 2)]) for k in range(n)])


def implication_nest(n):
    f = var(1)
    for k in range(2, n + 1):
        f = ("imp", f, var(k))
    return f


def equivalence_chain(n):
    return ("eqv", [var(k) for k in range(1, n + 1)])


def random_formula(n):
    """Seeded: n variables, 2n leaves, connectives +, v, => and negations."""
    rng = random.Random(20261207 + n)

    def build(leaves):
        if leaves == 1:
            leaf = var(rng.randint(1, n))
            return ("not", leaf) if rng.random() < 0.3 else leaf
        left = rng.randint(1, leaves - 1)
        a, b = build(left), build(leaves - left)
        kind = rng.choice(["and", "or", "imp", "and", "or"])
        node = ("imp", a, b) if kind == "imp" else (kind, [a, b])
        return ("not", node) if rng.random() < 0.15 else node

    return build(2 * n)


# name, generator, first n, last n (indexes stay within 1..99)
FAMILIES = [
    ("and-of-ors", and_of_ors, 1, 49),
    ("or-of-ands", or_of_ands, 1, 49),
    ("implication-nest", implication_nest, 2, 99),
    ("equivalence-chain", equivalence_chain, 2, 99),
    ("random", random_formula, 6, 10),
]

# ---------------------------------------------------------------- measuring


def run_umbrix(umbrix, mode, formula, workdir, cut_bytes, max_seconds, peak_only=False):
    """Wall seconds, exit code, peak memory (KB, with peak_only), the document's path, whether
    the run was cut, and processor seconds. A run whose document passes cut_bytes or that takes
    longer than max_seconds is cut there. On a shared machine the processor seconds are the
    steadier figure. The peak memory needs a run of its own under GNU time: a child forked from
    this interpreter counts the interpreter's memory as its own, and GNU time's own start
    would add to the times."""
    out = os.path.join(workdir, "DOC")
    peak_file = os.path.join(workdir, "peak")
    # The previous run's document goes first: its size would cut this run at once, and
    # replacing it would charge its deletion to this run.
    for stale in unfinished_documents(workdir) + glob.glob(out + ".TEX"):
        os.unlink(stale)
    os.sync()  # the writing back of earlier documents does not fall into this run
    start = time.perf_counter()
    command = [umbrix, "-m", str(mode), "-o", out, "--", formula]
    if peak_only:
        command = ["/usr/bin/time", "-q", "-f", "%M", "-o", peak_file] + command
    proc = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    cut = False
    while True:
        pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
        if pid:
            break
        time.sleep(0.002 if time.perf_counter() - start < 0.1 else 0.05)
        too_big = document_size(out + ".TEX", workdir) > cut_bytes
        if not cut and (too_big or time.perf_counter() - start > max_seconds):
            cut = True
            stop_children(proc.pid)
    seconds = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    unfinished = unfinished_documents(workdir)
    if cut and unfinished:
        os.replace(unfinished[0], out + ".TEX")  # a stopped run leaves its document unfinished
    peak = None
    if peak_only:
        with open(peak_file) as f:
            words = f.read().split()
        # GNU time stopped before its report (a cut can reach it first): the child's own figure.
        peak = int(words[-1]) if words else usage.ru_maxrss
    return seconds, proc.returncode, peak, out + ".TEX", cut, cpu_of(usage)


def unfinished_documents(workdir):
    """The hidden file beside DOC.TEX that a run writes and renames to DOC.TEX when it ends."""
    return glob.glob(os.path.join(workdir, ".DOC.TEX.*.tmp"))


def document_size(path, workdir):
    """Bytes written so far: the unfinished document's while the run goes on."""
    for name in unfinished_documents(workdir) + [path]:
        try:
            return os.path.getsize(name)
        except OSError:
            pass
    return 0


def cpu_of(usage):
    """Processor seconds (user and system) of a waited-for child and its children."""
    return usage.ru_utime + usage.ru_stime


def stop_children(pid):
    """Kills the program under GNU time, which then still reports its peak memory."""
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
            children = [int(c) for c in f.read().split()]
    except OSError:
        children = []
    for child in children or [pid]:
        try:
            os.kill(child, 9)
        except ProcessLookupError:
            pass


def document_facts(path):
    """Bytes, SHA-256, the largest formula (its LaTeX, the step prefix up to the next step) and
    the document's bytes."""
    with open(path, "rb") as f:
        data = f.read()
    largest = max(len(step) for step in data.split(b"\r\n$\\sim$ "))
    return len(data), hashlib.sha256(data).hexdigest(), largest, data


def buffered_write(data, workdir, repeat):
    """Best wall and processor seconds to write the same bytes to a new file in 64 KiB writes."""
    path = os.path.join(workdir, "COPY.TEX")
    view = memoryview(data)
    best = best_cpu = None
    for _ in range(repeat):
        if os.path.exists(path):
            os.unlink(path)
        os.sync()
        start, start_cpu = time.perf_counter(), own_cpu()
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        for offset in range(0, len(view), CHUNK):
            os.write(fd, view[offset:offset + CHUNK])
        os.close(fd)
        seconds, cpu = time.perf_counter() - start, own_cpu() - start_cpu
        best = seconds if best is None else min(best, seconds)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
    os.unlink(path)
    return best, best_cpu


def own_cpu():
    usage = resource.getrusage(resource.RUSAGE_SELF)
    return usage.ru_utime + usage.ru_stime


SYMPY_PIPELINE = r"""
import sys, time
from sympy import symbols, And, Or, Not, Implies
from sympy.logic.boolalg import to_dnf, to_cnf
names = {"x%d" % i: s for i, s in enumerate(symbols("x0:100"))}
names.update(And=And, Or=Or, Not=Not, Implies=Implies)
formula = eval(sys.stdin.read(), names)

def complementary(literals):
    present = set(literals)
    return any(isinstance(l, Not) and l.args[0] in present for l in present)

start, start_cpu = time.perf_counter(), time.process_time()
dnf = to_dnf(formula, simplify=False)
dnf = Or(*[t for t in Or.make_args(dnf) if not complementary(And.make_args(t))])
cnf = to_cnf(dnf, simplify=False)
cnf = And(*[c for c in And.make_args(cnf) if not complementary(Or.make_args(c))])
print(time.perf_counter() - start, time.process_time() - start_cpu)
"""


def run_sympy(f, timeout):
    """Wall and processor seconds of sympy's pipeline (the import not counted), or None."""
    try:
        done = subprocess.run(["/usr/bin/python3", "-c", SYMPY_PIPELINE], input=sympy_text(f),
                              capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    if done.returncode != 0:
        return None
    return tuple(float(x) for x in done.stdout.strip().splitlines()[-1].split())


def run_booldnf(f, timeout, workdir):
    """Wall and processor seconds of booldnf on the formula and its negation, None where it
    refuses one ("result too large"), "timeout" beyond the timeout."""
    text = bool_text(f)
    source, result = os.path.join(workdir, "bool.in"), os.path.join(workdir, "bool.out")
    with open(source, "w") as f_in:
        f_in.write("%s\n!(%s)\n" % (text, text))
    start = time.perf_counter()
    with open(source) as f_in, open(result, "w") as f_out:
        proc = subprocess.Popen(["booldnf"], stdin=f_in, stdout=f_out, stderr=subprocess.DEVNULL)
    while True:
        pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
        if pid:
            break
        if time.perf_counter() - start > timeout:
            os.kill(proc.pid, 9)
            os.wait4(proc.pid, 0)
            return "timeout"
        time.sleep(0.001)
    seconds = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    with open(result) as f_out:
        lines = f_out.read().splitlines()
    if proc.returncode != 0 or len(lines) != 2 or any("rror" in l or "too large" in l for l in lines):
        return None
    return seconds, cpu_of(usage)


# ---------------------------------------------------------------- report

COLUMNS = ["family", "n", "mode", "seconds", "cpu", "bytes", "mb_per_s", "write_cpu", "x_write", "x_write_cpu",
           "ns_per_byte_cpu", "peak_kb", "largest_formula", "sympy_cpu", "x_sympy_cpu", "x_sympy_net_cpu", "booldnf_cpu",
           "x_booldnf_cpu", "exit", "write_seconds", "sympy_seconds", "booldnf_seconds", "sha256"]


def ratio(a, b):
    return "" if a is None or b is None or b <= 0 else "%.3g" % (a / b)


def fmt(value, pattern="%.4f"):
    return "" if value is None else pattern % value


def short_runs(args, seconds):
    """How often a run that took seconds is repeated: short ones more, against the noise."""
    return max(args.repeat, min(10, int(1.0 / max(seconds, 1e-3))))


def best_run(args, mode, formula, workdir):
    """The run of least wall time, with the least processor time of all runs."""
    best = None
    runs = args.repeat
    while runs > 0:
        result = run_umbrix(args.umbrix, mode, formula, workdir, args.cut_mb * MB, args.max_seconds)
        if best is None:
            runs = short_runs(args, result[0])
            least_cpu = result[5]
        least_cpu = min(least_cpu, result[5])
        if best is None or result[0] < best[0] or result[4]:
            best = result  # a cut run left the document cut: the case counts as cut
        if result[1] != 0 or result[4]:
            break
        runs -= 1
    peak = run_umbrix(args.umbrix, mode, formula, workdir, args.cut_mb * MB, args.max_seconds, True)[2]
    return best[:2] + (peak,) + best[3:5] + (least_cpu,)


def best_booldnf(args, f, workdir):
    """Least wall and least processor seconds of repeated runs, or what the first run gave."""
    runs = [run_booldnf(f, args.timeout, workdir)]
    if not isinstance(runs[0], tuple):
        return runs[0]
    runs += [run_booldnf(f, args.timeout, workdir) for _ in range(short_runs(args, runs[0][0]) - 1)]
    return min(r[0] for r in runs), min(r[1] for r in runs)


def process_start_cpu(args, workdir):
    """Least processor seconds of a run on the formula x1: the start and end of the process,
    which sympy's figures leave out with its start and import."""
    return min(run_umbrix(args.umbrix, 2, "x1", workdir, args.cut_mb * MB, args.max_seconds)[5] for _ in range(20))


def measure_family(args, name, generator, first, last, peers_alive, rows, workdir):
    alive = {mode: True for mode in args.modes}
    for n in range(first, last + 1):
        if not any(alive.values()):
            return
        f = generator(n)
        formula = umbrix_text(f)
        sympy = booldnf = (None, None)
        if peers_alive["sympy"]:
            sympy = run_sympy(f, args.timeout) or (None, None)
            peers_alive["sympy"] = sympy[0] is not None
        if peers_alive["booldnf"]:
            booldnf = best_booldnf(args, f, workdir)
            peers_alive["booldnf"] = booldnf != "timeout"
            booldnf = booldnf if isinstance(booldnf, tuple) else (None, None)
        for mode in args.modes:
            if not alive[mode]:
                continue
            seconds, code, peak, path, cut, cpu = best_run(args, mode, formula, workdir)
            size, sha, longest, data = document_facts(path)
            write = buffered_write(data, workdir, 10 if size < 50 * MB else args.repeat) if size else (None, None)
            del data
            os.unlink(path)
            row = {
                "family": name, "n": n, "mode": mode, "seconds": fmt(seconds), "cpu": fmt(cpu), "bytes": size,
                "mb_per_s": "%.1f" % (size / MB / seconds), "write_cpu": fmt(write[1]),
                "x_write": ratio(seconds, write[0]), "x_write_cpu": ratio(cpu, write[1]),
                "ns_per_byte_cpu": fmt(cpu * 1e9 / size if size else None, "%.2f"), "peak_kb": peak,
                "largest_formula": longest, "sympy_cpu": fmt(sympy[1]), "x_sympy_cpu": ratio(cpu, sympy[1]),
                "x_sympy_net_cpu": ratio(cpu - args.start_cpu, sympy[1]) if cpu > args.start_cpu else "",
                "booldnf_cpu": fmt(booldnf[1]), "x_booldnf_cpu": ratio(cpu, booldnf[1]),
                "exit": "cut" if cut else code, "write_seconds": fmt(write[0]), "sympy_seconds": fmt(sympy[0]),
                "booldnf_seconds": fmt(booldnf[0]), "sha256": "" if cut else sha,
            }
            rows.append(row)
            print("%-18s %3d %d %8ss cpu %7s %11d B %8s MB/s x_write %-6s cpu %-6s %7d KB formula %9d "
                  "sympy %-8s booldnf %-8s%s"
                  % (name, n, mode, row["seconds"], row["cpu"], size, row["mb_per_s"], row["x_write"],
                     row["x_write_cpu"], peak, longest, row["x_sympy_cpu"] or "-", row["x_booldnf_cpu"] or "-",
                     "  (cut)" if cut else "  (member limit)" if code == 4 else "  exit %d" % code if code else ""),
                  flush=True)
            if cut or code != 0 or size > args.limit_mb * MB or seconds > args.max_seconds:
                alive[mode] = False


def write_markdown(path, rows, args):
    with open(path, "w") as f:
        f.write("# Umbrix benchmark\n\n")
        f.write("Release build, every process pinned to processor %d; peak memory from one more run under GNU time; best of %d runs (of up to 10 for runs under 1 s, booldnf too); documents and the "
                "buffered write (64 KiB writes) on %s. seconds: wall time; cpu: processor seconds (user and system), "
                "the steadier figure on a shared machine, on which the ratios _cpu are taken. x_write: time over "
                "the buffered write of the same bytes; x_sympy, x_booldnf: time over the peer's on the same formula; x_sympy_net: the same "
                "without the start and end of an Umbrix process (a run on x1) "
                "(sympy: to_dnf, drop "
                "contradictory terms, to_cnf, drop tautologies, import not counted; booldnf: the formula and "
                "its negation). Exit 4: stopped by the member limit; cut: stopped by the benchmark at %g MB or %g s, figures of the part written.\n\n" % (args.cpu, args.repeat, args.workdir, args.cut_mb, args.max_seconds))
        f.write(targets_summary(rows))
        shown = [c for c in COLUMNS if c != "sha256"]
        f.write("| " + " | ".join(shown) + " |\n")
        f.write("|" + "---|" * len(shown) + "\n")
        for row in rows:
            f.write("| " + " | ".join(str(row[c]) for c in shown) + " |\n")


def targets_summary(rows):
    """The targets, judged on this run in processor seconds: documents of 10 MB and more for the
    write targets (below, the start of a process outweighs the work)."""
    def num(row, key):
        return float(row[key]) if row[key] not in ("", None) else None

    lines = ["## Targets on this run (processor seconds)\n"]
    big = [r for r in rows if r["mode"] in (0, 1) and r["bytes"] >= 10 * MB and num(r, "cpu")]
    for mode in (0, 1):
        cases = [r for r in big if r["mode"] == mode]
        met = [r for r in cases if r["bytes"] / MB / num(r, "cpu") >= 1000 or num(r, "x_write_cpu") <= 5]
        worst = max(cases, key=lambda r: num(r, "x_write_cpu"), default=None)
        lines.append("- mode %d, 1 GB/s or within 5x of the buffered write: met in %d of %d documents of 10 MB or "
                     "more; slowest %s" % (mode, len(met), len(cases), worst and "%s n=%s, %sx the write, %.0f MB/s" % (
                         worst["family"], worst["n"], worst["x_write_cpu"], worst["bytes"] / MB / num(worst, "cpu"))))
    by_case = {(r["family"], r["n"], r["mode"]): r for r in big if r["exit"] == 0}
    ratios = [num(by_case[(f, n, 1)], "ns_per_byte_cpu") / num(by_case[(f, n, 0)], "ns_per_byte_cpu")
              for (f, n, m) in by_case if m == 1 and (f, n, 0) in by_case]
    if ratios:
        lines.append("- mode 1 time per byte over mode 0's on the same formula (target at most 1.5): largest %.2f, "
                     "median %.2f, %d formulas" % (max(ratios), sorted(ratios)[len(ratios) // 2], len(ratios)))
    direct = [r for r in rows if r["mode"] == 2]
    for peer, limit, target in (("sympy", 0.01, "at least 100x faster than"), ("booldnf", 0.5, "at most half the time of")):
        cases = [r for r in direct if r["x_%s_cpu" % peer]]
        heavy = [r for r in cases if num(r, "%s_cpu" % peer) >= 0.05]
        met = lambda group: sum(num(r, "x_%s_cpu" % peer) <= limit for r in group)
        worst = max(cases, key=lambda r: num(r, "x_%s_cpu" % peer), default=None)
        lines.append("- mode 2 %s %s: met in %d of %d formulas it finished; in %d of %d where it took 0.05 s or more; "
                     "largest ratio %s" % (target, peer, met(cases), len(cases), met(heavy), len(heavy),
                                           worst and "%s (%s n=%s)" % (worst["x_%s_cpu" % peer], worst["family"],
                                                                       worst["n"])))
        if peer == "sympy":
            measurable = [r for r in cases if num(r, "x_sympy_net_cpu") is not None]
            net = [r for r in measurable if num(r, "x_sympy_net_cpu") <= limit]
            lines.append("  - the same with the start of the process (a run on x1) not counted, as sympy's start and "
                         "import are not: met in %d of %d formulas whose run took longer than that start"
                         % (len(net), len(measurable)))
    base = min(r["peak_kb"] for r in rows) if rows else 0
    over = [r for r in rows if r["peak_kb"] > base + 2048 + 4 * r["largest_formula"] / 1024]
    lines.append("- peak memory at most 4x the largest formula's LaTeX plus %d KB (the smallest peak of the run) "
                 "plus 2 MB: exceeded in %d of %d cases%s" % (base, len(over), len(rows), "".join(
                     "; %s n=%s mode %s %d KB for a %d KB formula" % (r["family"], r["n"], r["mode"], r["peak_kb"],
                                                                    r["largest_formula"] // 1024) for r in over[:5])))
    return "\n".join(lines) + "\n\n"


def compare_hashes(old_csv, rows):
    with open(old_csv) as f:
        old = {(r["family"], r["n"], r["mode"]): r["sha256"] for r in csv.DictReader(f)}
    same = differ = 0
    for row in rows:
        key = (row["family"], str(row["n"]), str(row["mode"]))
        if key not in old:
            continue
        if old[key] == row["sha256"]:
            same += 1
        else:
            differ += 1
            print("DIFFERENT DOCUMENT: %s n=%s mode %s" % key)
    print("documents compared with %s: %d equal, %d different" % (old_csv, same, differ))
    return differ == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--umbrix", default="build/src/cli/umbrix")
    parser.add_argument("--out", default="bench/results/bench", help="prefix of the .csv and .md files")
    parser.add_argument("--workdir", default=None, help="folder for the documents (default: a new temporary one)")
    parser.add_argument("--cpu", type=int, default=max(os.sched_getaffinity(0)))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--limit-mb", type=float, default=200)
    parser.add_argument("--cut-mb", type=float, default=1000, help="a document that grows beyond is cut")
    parser.add_argument("--max-seconds", type=float, default=30, help="a run that takes longer is cut")
    parser.add_argument("--timeout", type=float, default=60, help="seconds a peer may take")
    parser.add_argument("--modes", type=int, nargs="+", default=[0, 1, 2])
    parser.add_argument("--families", nargs="+", default=[f[0] for f in FAMILIES])
    parser.add_argument("--compare", help="an earlier CSV whose document hashes must match")
    args = parser.parse_args()

    os.sched_setaffinity(0, {args.cpu})  # children inherit the processor
    own_workdir = args.workdir is None
    args.workdir = args.workdir or tempfile.mkdtemp(prefix="umbrix-bench-")
    os.makedirs(args.workdir, exist_ok=True)
    peers_ok = {"sympy": run_sympy(var(1), args.timeout) is not None,
                "booldnf": shutil.which("booldnf") is not None}
    for peer, ok in peers_ok.items():
        if not ok:
            print("%s is not available: its columns stay empty" % peer)
    args.start_cpu = process_start_cpu(args, args.workdir)
    print("start and end of a run on x1: %.4f s processor time" % args.start_cpu)
    rows = []
    try:
        for name, generator, first, last in FAMILIES:
            if name in args.families:
                measure_family(args, name, generator, first, last, dict(peers_ok), rows, args.workdir)
    except KeyboardInterrupt:
        print("interrupted: the table holds the cases measured so far")
    finally:
        if own_workdir:
            shutil.rmtree(args.workdir, ignore_errors=True)
    os.makedirs(os.path.dirname(args.out) or ".", exist_ok=True)
    with open(args.out + ".csv", "w", newline="") as f:
        writer = csv.DictWriter(f, fieldnames=COLUMNS)
        writer.writeheader()
        writer.writerows(rows)
    write_markdown(args.out + ".md", rows, args)
    print("written: %s.csv, %s.md" % (args.out, args.out))
    if args.compare and not compare_hashes(args.compare, rows):
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
