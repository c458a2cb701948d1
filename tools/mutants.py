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
    before: str
    after: str
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
        if file is None or len(before) != 1 or len(after) != 1:
            sys.exit(f"{path}: неполный мутант: {block}")
        mutants.append(Mutant(comment or f"{file}: {after[0].strip()}", str(path), file.strip(),
                              before[0], after[0], extra))
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
    return subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout, text=True,
                          stdout=subprocess.PIPE if quiet else None,
                          stderr=subprocess.STDOUT if quiet else None)


def test_folder(work, source):
    """The tests folder that mirrors a source file and declares a test program."""
    parts = Path(source).parent.parts
    if not parts or parts[0] != "src":
        sys.exit(f"{source}: мутант вне src/")
    rel = list(parts[1:])
    while True:
        folder = Path("tests", *rel)
        cmake = work / folder / "CMakeLists.txt"
        if cmake.is_file() and programs_of(work, folder):
            return str(folder)
        if not rel:
            sys.exit(f"{source}: нет тестов, зеркальных файлу")
        rel.pop()


def programs_of(work, folder):
    text = (work / folder / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.findall(r"tav_add_test\(\s*([A-Za-z0-9_]+)", text)


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


def run_tests(work, folders):
    """None when every program passes, else what failed first."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for folder in folders:
        for program in programs_of(work, folder):
            exe = work / "build" / "tests" / program
            cwd = work / "build" / folder
            try:
                done = run([str(exe), "--gtest_fail_fast", "--gtest_brief=1"], cwd=cwd, env=env,
                           timeout=TEST_TIMEOUT)
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
    hits = [i for i, l in enumerate(lines) if l.strip() == m.before.strip()]
    if len(hits) != 1:
        return None, f"строка найдена {len(hits)} раз"
    i = hits[0]
    indent = lines[i][: len(lines[i]) - len(lines[i].lstrip())]
    lines[i] = indent + m.after.strip()
    path.write_text("\n".join(lines), encoding="utf-8")
    return original, ""


def main():
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

    folders = {}
    for m in mutants:
        folders[m.file] = [test_folder(work, m.file)] + m.extra_tests
    every = sorted({f for fs in folders.values() for f in fs})
    targets = sorted({p for f in every for p in programs_of(work, f)})
    ok, log = build(work, targets)
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
                mine = folders[m.file]
                ok, log = build(work, sorted({p for f in mine for p in programs_of(work, f)}))
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
            print(f"  {m.list_file}: {m.name}\n      {m.file}: {m.after.strip()}")
    for m in mutants:
        if m.outcome not in ("убит", "выжил"):
            print(f"Не в счёте ({m.outcome}{', ' + m.detail if m.detail else ''}): {m.name}")
    ratio = 100.0 * len(killed) / len(counted) if counted else 0.0
    print(f"Убито {len(killed)} из {len(counted)} ({ratio:.0f} %)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
