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
import hashlib
import os
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


def sympy_text(f):
    kind = f[0]
    if kind == "var":
        return "x%d" % f[1]
    if kind == "not":
        return "Not(%s)" % sympy_text(f[1])
    if kind == "imp":
        return "Implies(%s, %s)" % (sympy_text(f[1]), sympy_text(f[2]))
    if kind == "eqv":
        return sympy_text(chain_as_implications(f[1]))
    name = {"and": "And", "or": "Or"}[kind]
    return "%s(%s)" % (name, ", ".join(sympy_text(g) for g in f[1]))


def bool_text(f):
    """booldnf's syntax: & | ! and parentheses."""
    kind = f[0]
    if kind == "var":
        return "x%d" % f[1]
    if kind == "not":
        return "!(%s)" % bool_text(f[1])
    if kind == "imp":
        return "(!(%s)|(%s))" % (bool_text(f[1]), bool_text(f[2]))
    if kind == "eqv":
        return bool_text(chain_as_implications(f[1]))
    joiner = {"and": "&", "or": "|"}[kind]
    return "(" + joiner.join(bool_text(g) for g in f[1]) + ")"


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


def run_umbrix(umbrix, mode, formula, workdir, cut_bytes, max_seconds):
    """Wall seconds, exit code, peak memory (KB), the document's path and whether the run was
    cut: a run whose document passes cut_bytes or that takes longer than max_seconds is
    stopped there. GNU time reports the peak memory: a child forked from this interpreter
    would count the interpreter's memory as its own."""
    out = os.path.join(workdir, "DOC")
    peak_file = os.path.join(workdir, "peak")
    start = time.perf_counter()
    proc = subprocess.Popen(["/usr/bin/time", "-q", "-f", "%M", "-o", peak_file, umbrix, "-m", str(mode),
                             "-o", out, "--", formula], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    cut = False
    while proc.poll() is None:
        time.sleep(0.002 if time.perf_counter() - start < 0.1 else 0.05)
        too_big = os.path.exists(out + ".TEX") and os.path.getsize(out + ".TEX") > cut_bytes
        if proc.poll() is None and (too_big or time.perf_counter() - start > max_seconds):
            cut = True
            stop_children(proc.pid)
            proc.wait()
    seconds = time.perf_counter() - start
    with open(peak_file) as f:
        peak = int(f.read().split()[-1])
    return seconds, proc.returncode, peak, out + ".TEX", cut


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
    """Best time to write the same bytes to a new file in 64 KiB writes."""
    path = os.path.join(workdir, "COPY.TEX")
    view = memoryview(data)
    best = None
    for _ in range(repeat):
        start = time.perf_counter()
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        for offset in range(0, len(view), CHUNK):
            os.write(fd, view[offset:offset + CHUNK])
        os.close(fd)
        seconds = time.perf_counter() - start
        best = seconds if best is None else min(best, seconds)
    os.unlink(path)
    return best


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

start = time.perf_counter()
dnf = to_dnf(formula, simplify=False)
dnf = Or(*[t for t in Or.make_args(dnf) if not complementary(And.make_args(t))])
cnf = to_cnf(dnf, simplify=False)
cnf = And(*[c for c in And.make_args(cnf) if not complementary(Or.make_args(c))])
print(time.perf_counter() - start)
"""


def run_sympy(f, timeout):
    """Seconds of sympy's pipeline (the import not counted), or None."""
    try:
        done = subprocess.run(["/usr/bin/python3", "-c", SYMPY_PIPELINE], input=sympy_text(f),
                              capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    if done.returncode != 0:
        return None
    return float(done.stdout.strip().splitlines()[-1])


def run_booldnf(f, timeout):
    """Wall seconds of booldnf on the formula and its negation, None where it refuses one
    ("result too large"), "timeout" beyond the timeout."""
    text = bool_text(f)
    start = time.perf_counter()
    try:
        done = subprocess.run(["booldnf"], input="%s\n!(%s)\n" % (text, text), capture_output=True,
                              text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return "timeout"
    seconds = time.perf_counter() - start
    lines = done.stdout.splitlines()
    if done.returncode != 0 or len(lines) != 2 or any("rror" in l for l in lines):
        return None
    return seconds


# ---------------------------------------------------------------- report

COLUMNS = ["family", "n", "mode", "seconds", "bytes", "mb_per_s", "write_seconds", "x_write",
           "ns_per_byte", "peak_kb", "largest_formula", "sympy_seconds", "x_sympy", "booldnf_seconds",
           "x_booldnf", "exit", "sha256"]


def ratio(a, b):
    return "" if a is None or b is None or b <= 0 else "%.3g" % (a / b)


def fmt(value, pattern):
    return "" if value is None else pattern % value


def short_runs(args, seconds):
    """How often a run that took seconds is repeated: short ones more, against the noise."""
    return max(args.repeat, min(10, int(1.0 / max(seconds, 1e-3))))


def best_run(args, mode, formula, workdir):
    best = None
    runs = args.repeat
    while runs > 0:
        result = run_umbrix(args.umbrix, mode, formula, workdir, args.cut_mb * MB, args.max_seconds)
        if best is None:
            runs = short_runs(args, result[0])
        if best is None or result[0] < best[0]:
            best = result
        if result[1] != 0 or result[4]:
            break
        runs -= 1
    return best


def best_booldnf(args, f):
    first = run_booldnf(f, args.timeout)
    if not isinstance(first, float):
        return first
    return min([first] + [run_booldnf(f, args.timeout) for _ in range(short_runs(args, first) - 1)])


def measure_family(args, name, generator, first, last, peers_alive, rows, workdir):
    alive = {mode: True for mode in args.modes}
    for n in range(first, last + 1):
        if not any(alive.values()):
            return
        f = generator(n)
        formula = umbrix_text(f)
        sympy_seconds = booldnf_seconds = None
        if peers_alive["sympy"]:
            sympy_seconds = run_sympy(f, args.timeout)
            peers_alive["sympy"] = sympy_seconds is not None
        if peers_alive["booldnf"]:
            booldnf_seconds = best_booldnf(args, f)
            peers_alive["booldnf"] = booldnf_seconds != "timeout"
            booldnf_seconds = None if booldnf_seconds == "timeout" else booldnf_seconds
        for mode in args.modes:
            if not alive[mode]:
                continue
            seconds, code, peak, path, cut = best_run(args, mode, formula, workdir)
            size, sha, longest, data = document_facts(path)
            write = buffered_write(data, workdir, 10 if size < 50 * MB else args.repeat) if size else None
            del data
            os.unlink(path)
            row = {
                "family": name, "n": n, "mode": mode, "seconds": "%.4f" % seconds, "bytes": size,
                "mb_per_s": "%.1f" % (size / MB / seconds), "write_seconds": fmt(write, "%.4f"),
                "x_write": ratio(seconds, write), "ns_per_byte": fmt(seconds * 1e9 / size if size else None, "%.2f"),
                "peak_kb": peak, "largest_formula": longest, "sympy_seconds": fmt(sympy_seconds, "%.4f"),
                "x_sympy": ratio(seconds, sympy_seconds), "booldnf_seconds": fmt(booldnf_seconds, "%.4f"),
                "x_booldnf": ratio(seconds, booldnf_seconds), "exit": "cut" if cut else code,
                "sha256": "" if cut else sha,
            }
            rows.append(row)
            print("%-18s %3d %d %8ss %11d B %8s MB/s x_write %-6s %7d KB formula %9d sympy %-8s booldnf %-8s%s"
                  % (name, n, mode, row["seconds"], size, row["mb_per_s"], row["x_write"], peak, longest,
                     row["x_sympy"] or "-", row["x_booldnf"] or "-",
                     "  (cut)" if cut else "  (member limit)" if code == 4 else "  exit %d" % code if code else ""),
                     flush=True)
            if cut or code != 0 or size > args.limit_mb * MB or seconds > args.max_seconds:
                alive[mode] = False


def write_markdown(path, rows, args):
    with open(path, "w") as f:
        f.write("# Umbrix benchmark\n\n")
        f.write("Release build, every process pinned to processor %d; best of %d runs (of up to 10 for runs under 1 s, booldnf too); documents and the "
                "buffered write (64 KiB writes) on %s. x_write: time over the buffered write of the same "
                "bytes; x_sympy, x_booldnf: time over the peer's on the same formula (sympy: to_dnf, drop "
                "contradictory terms, to_cnf, drop tautologies, import not counted; booldnf: the formula and "
                "its negation). Exit 4: stopped by the member limit; cut: stopped by the benchmark at %g MB or %g s, figures of the part written.\n\n" % (args.cpu, args.repeat, args.workdir, args.cut_mb, args.max_seconds))
        f.write(targets_summary(rows))
        shown = [c for c in COLUMNS if c != "sha256"]
        f.write("| " + " | ".join(shown) + " |\n")
        f.write("|" + "---|" * len(shown) + "\n")
        for row in rows:
            f.write("| " + " | ".join(str(row[c]) for c in shown) + " |\n")


def targets_summary(rows):
    """The targets, judged on this run: documents of 10 MB and more for the write targets
    (below, the start of a process outweighs the work)."""
    def num(row, key):
        return float(row[key]) if row[key] not in ("", None) else None

    lines = ["## Targets on this run\n"]
    big = [r for r in rows if r["mode"] in (0, 1) and r["bytes"] >= 10 * MB]
    for mode in (0, 1):
        cases = [r for r in big if r["mode"] == mode]
        met = [r for r in cases if num(r, "mb_per_s") >= 1000 or num(r, "x_write") <= 5]
        worst = max(cases, key=lambda r: num(r, "x_write"), default=None)
        lines.append("- mode %d, 1 GB/s or within 5x of the buffered write (%d documents of 10 MB or more): "
                     "met in %d; slowest %s x_write %s at %s MB/s" % (
                         mode, len(cases), len(met), worst and "%s n=%s" % (worst["family"], worst["n"]),
                         worst and worst["x_write"], worst and worst["mb_per_s"]))
    by_case = {(r["family"], r["n"], r["mode"]): r for r in big if r["exit"] == 0}
    ratios = [num(by_case[(f, n, 1)], "ns_per_byte") / num(by_case[(f, n, 0)], "ns_per_byte")
              for (f, n, m) in by_case if m == 1 and (f, n, 0) in by_case]
    if ratios:
        lines.append("- mode 1 time per byte over mode 0's, same formula: at most %.2f (target 1.5), median %.2f"
                     % (max(ratios), sorted(ratios)[len(ratios) // 2]))
    direct = [r for r in rows if r["mode"] == 2]
    with_sympy = [r for r in direct if r["x_sympy"]]
    with_bool = [r for r in direct if r["x_booldnf"]]
    lines.append("- mode 2 at least 100x faster than sympy: %d of %d cases where sympy finished; largest ratio %s"
                 % (sum(num(r, "x_sympy") <= 0.01 for r in with_sympy), len(with_sympy),
                    max((r["x_sympy"] for r in with_sympy), key=float, default="-")))
    lines.append("- mode 2 at most half of booldnf's time: %d of %d cases where booldnf accepted the formula; "
                 "largest ratio %s" % (sum(num(r, "x_booldnf") <= 0.5 for r in with_bool), len(with_bool),
                                       max((r["x_booldnf"] for r in with_bool), key=float, default="-")))
    base = min(r["peak_kb"] for r in rows) if rows else 0
    over = [r for r in rows if r["peak_kb"] > base + 2048 + 4 * r["largest_formula"] / 1024]
    lines.append("- peak memory at most 4x the largest formula plus %d KB (the smallest peak of the run) plus 2 MB: "
                 "exceeded in %d of %d cases%s" % (base, len(over), len(rows), "".join(
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
    rows = []
    try:
        for name, generator, first, last in FAMILIES:
            if name in args.families:
                measure_family(args, name, generator, first, last, dict(peers_ok), rows, args.workdir)
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
