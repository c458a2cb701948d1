#!/usr/bin/env python3
"""Plants textual mutants one at a time in a clean clone of HEAD and runs the mirrored tests.

    tools/mutants.sh [--work FOLDER] [--only TEXT] [--commit REV] LIST...

A list file holds mutants separated by blank lines; lines starting with "#" are comments (the
comment right before a mutant names it). A mutant is:

    src/plan/BarPlanner.cpp
    -    return a.offcut < b.offcut;
    +    return a.offcut <= b.offcut;
    @ tests/cli                      (optional: test folders run besides the mirrored one)

The "-" line is the line as it stands (compared without its leading and trailing blanks; it must
occur exactly once in the file), the "+" line replaces it with the original indentation kept.
Where one line is not unique, several consecutive "-" lines name the place and as many "+" lines
replace them.
Each mutant is applied to a clone of the repository's HEAD, or of --commit to measure the tests as
they were before a change (uncommitted changes are never seen). The test programs of the folder
that mirrors the file's (src/plan/X.cpp -> tests/plan, walking up until a folder declares a test
program) are rebuilt incrementally with ccache and run; a failing or hanging test kills the
mutant. The clone (build/mutants by default) and its build folder are kept for the next run.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

TEST_TIMEOUT = 600  # seconds per test program


@dataclass
class Mutant:
    name: str
    list_file: str
    file: str
    before: list  # consecutive lines as they stand
    after: list  # the lines put in their place
    extra_tests: list = field(default_factory=list)
    outcome: str = ""
    detail: str = ""


def read_list(path):
    mutants, block, comment = [], [], ""

    def flush():
        nonlocal block, comment
        if not block:
            return
        file = next((l for l in block if l[0] not in "-+@"), None)
        before = [l[1:] for l in block if l.startswith("-")]
        after = [l[1:] for l in block if l.startswith("+")]
        extra = [t for l in block if l.startswith("@") for t in l[1:].split()]
        if file is None or not before or not after:
            sys.exit(f"{path}: неполный мутант: {block}")
        mutants.append(Mutant(comment or f"{file}: {after[0].strip()}", str(path), file.strip(),
                              before, after, extra))
        block, comment = [], ""

    for raw in Path(path).read_text(encoding="utf-8").splitlines():
        if not raw.strip():
            flush()
        elif raw.startswith("#"):
            if not block:
                comment = raw[1:].strip()
        else:
            block.append(raw)
    flush()
    return mutants


def run(cmd, cwd=None, env=None, timeout=None, quiet=True):
    # A test's output may end in the middle of a letter (a failure message cut short): it is
    # read with a replacement character there rather than stopping the whole run.
    return subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout, text=True,
                          encoding="utf-8", errors="replace",
                          stdout=subprocess.PIPE if quiet else None,
                          stderr=subprocess.STDOUT if quiet else None)


def programs_for(work, folder):
    """The test programs that hold the tests of a folder under tests/, with the build folder they
    run in: the folder's own, or those its nearest parent declares for it (the window's areas are
    declared by tests/ui as tav_add_ui_test(area ...))."""
    parts = list(Path(folder).parts)
    below = []
    while parts:
        here = Path(*parts)
        cmake = work / here / "CMakeLists.txt"
        if cmake.is_file():
            text = cmake.read_text(encoding="utf-8")
            if below:
                areas = re.findall(r"tav_add_ui_test\(\s*([A-Za-z0-9_]+)", text)
                if below[0] in areas:
                    return [(f"tavrolab_ui_{below[0]}_tests", str(here))]
            names = re.findall(r"tav_add_test\(\s*([A-Za-z0-9_]+)\s", text)
            if names:
                return [(name, str(here)) for name in names]
        below.insert(0, parts.pop())
    sys.exit(f"{folder}: нет программы тестов")


def mirror_of(source):
    """tests/<folder> for src/<folder>/X.cpp."""
    parts = Path(source).parent.parts
    if not parts or parts[0] != "src":
        sys.exit(f"{source}: мутант вне src/")
    return str(Path("tests", *parts[1:]))


def prepare(repo, work, commit):
    head = run(["git", "-C", str(repo), "rev-parse", commit]).stdout.strip()
    if not head:
        sys.exit(f"Нет такой версии: {commit}")
    if not (work / ".git").exists():
        if work.exists():
            shutil.rmtree(work)
        run(["git", "clone", "--quiet", "--no-checkout", str(repo), str(work)])
    run(["git", "-C", str(work), "fetch", "--quiet", str(repo), head])
    run(["git", "-C", str(work), "checkout", "--quiet", "--force", head])
    run(["git", "-C", str(work), "clean", "-fdxq", "-e", "/build"])
    build = work / "build"
    if not (build / "build.ninja").exists():
        done = run(["cmake", "-S", str(work), "-B", str(build), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                    "-DTAVROLAB_BENCH=OFF"])
        if done.returncode != 0:
            sys.exit("Сборка не настроена:\n" + done.stdout[-3000:])
    return head


def build(work, targets):
    done = run(["cmake", "--build", str(work / "build"), "-j2", "--target", *targets])
    return done.returncode == 0, done.stdout


def run_tests(work, programs):
    """None when every program passes, else what failed first."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for program, folder in programs:
        exe = work / "build" / "tests" / program
        try:
            done = run([str(exe), "--gtest_fail_fast", "--gtest_brief=1"],
                       cwd=work / "build" / folder, env=env, timeout=TEST_TIMEOUT)
        except subprocess.TimeoutExpired:
            return f"{program}: дольше {TEST_TIMEOUT} с"
        if done.returncode != 0:
            failed = re.findall(r"^\[  FAILED  \] (\S+)", done.stdout, re.M)
            return f"{program}: {failed[0] if failed else 'код ' + str(done.returncode)}"
    return None


def apply(work, m):
    path = work / m.file
    if not path.is_file():
        return None, "нет файла"
    original = path.read_text(encoding="utf-8")
    lines = original.split("\n")
    n = len(m.before)
    hits = [i for i in range(len(lines) - n + 1)
            if all(lines[i + k].strip() == m.before[k].strip() for k in range(n))]
    if len(hits) != 1:
        return None, f"строки найдены {len(hits)} раз"
    i = hits[0]

    def indent(k):
        line = lines[i + min(k, n - 1)]
        return line[: len(line) - len(line.lstrip())]

    lines[i:i + n] = [indent(k) + a.strip() for k, a in enumerate(m.after)]
    path.write_text("\n".join(lines), encoding="utf-8")
    return original, ""


def main():
    # Stopped from outside, the running build or test is stopped with it (subprocess.run kills
    # its child on the way out) and the next run puts the clone right.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("Остановлено"))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("lists", nargs="+")
    parser.add_argument("--work", help="папка клона (по умолчанию build/mutants, сохраняется)")
    parser.add_argument("--only", help="только мутанты, в имени или файле которых есть этот текст")
    parser.add_argument("--commit", default="HEAD",
                        help="версия, в которую сажать мутантов (списки читаются из рабочей копии)")
    args = parser.parse_args()

    repo = Path(run(["git", "rev-parse", "--show-toplevel"]).stdout.strip())
    mutants = [m for path in args.lists for m in read_list(path)]
    if args.only:
        mutants = [m for m in mutants if args.only in m.name or args.only in m.file]
    if not mutants:
        sys.exit("Нет мутантов")
    # Inside the checkout's build folder: the clone's sources and build lie at the same relative
    # places as the checkout's, so ccache serves the clone from what the checkout compiled.
    work = Path(args.work or repo / "build" / "mutants").resolve()
    head = prepare(repo, work, args.commit)
    print(f"Клон {work} на {head[:10]}; мутантов: {len(mutants)}", flush=True)

    programs = {}
    for m in mutants:
        mine = []
        for folder in [mirror_of(m.file)] + m.extra_tests:
            mine += [p for p in programs_for(work, folder) if p not in mine]
        programs[id(m)] = mine
    every = sorted({p for ps in programs.values() for p in ps})
    ok, log = build(work, sorted({name for name, _ in every}))
    if not ok:
        sys.exit("Чистая сборка не удалась:\n" + log[-3000:])
    failed = run_tests(work, every)
    if failed:
        sys.exit(f"Тесты не проходят и без мутантов: {failed}")

    for n, m in enumerate(mutants, 1):
        start = time.monotonic()
        original, problem = apply(work, m)
        if original is None:
            m.outcome, m.detail = "не применён", problem
        else:
            try:
                mine = programs[id(m)]
                ok, log = build(work, sorted({name for name, _ in mine}))
                if not ok:
                    m.outcome, m.detail = "не собран", ""
                else:
                    failed = run_tests(work, mine)
                    m.outcome = "убит" if failed else "выжил"
                    m.detail = failed or ""
            finally:
                (work / m.file).write_text(original, encoding="utf-8")
        print(f"[{n}/{len(mutants)}] {m.outcome:11} {m.name}  {m.detail} "
              f"({time.monotonic() - start:.0f} с)", flush=True)

    counted = [m for m in mutants if m.outcome in ("убит", "выжил")]
    killed = [m for m in counted if m.outcome == "убит"]
    print("\nВыжили:")
    for m in counted:
        if m.outcome == "выжил":
            print(f"  {m.list_file}: {m.name}\n      {m.file}: {m.after[0].strip()}")
    for m in mutants:
        if m.outcome not in ("убит", "выжил"):
            print(f"Не в счёте ({m.outcome}{', ' + m.detail if m.detail else ''}): {m.name}")
    ratio = 100.0 * len(killed) / len(counted) if counted else 0.0
    print(f"Убито {len(killed)} из {len(counted)} ({ratio:.0f} %)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
