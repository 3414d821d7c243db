#!/usr/bin/env python3
"""Mutation testing for the portable C++ code.

Usage (from anywhere in the tree):
    python3 scripts/mutate.py                      # 120 mutants, seed 1, tests labelled unit|linux|x11
    python3 scripts/mutate.py --count 5            # a quick check
    python3 scripts/mutate.py --list               # show the sampled mutants without running them
    python3 scripts/mutate.py --labels unit --sub-labels ''
    python3 scripts/mutate.py --source-dirs src/xml src/player --count 40 --seed 7

Each mutant changes one place in one file (a flipped comparison, an integer off by one, a
deleted call statement, && <-> ||, binary + <-> -, true <-> false), is rebuilt in its own build
folder (native Debug, no sanitizers: build/mutation by default) and tested with ctest. A mutant
is "killed" when a test fails or the run times out, "survived" when every test passes; mutants
that do not compile, or whose object files come out identical to the original ones, are left
out of the score. A failing test gets --attempts runs, and a failure counts only when a fresh
ctest run of the failing tests fails again (window tests on a busy shared machine now and then
lose their display); --no-confirm skips that second run. The source file is always restored,
also on Ctrl-C or SIGTERM; a run killed outright leaves a copy in <build-dir>/restore/ that the
next run puts back first.

Results are kept in <build-dir>/results.jsonl and reused by a later run while the sources,
tests and build files are unchanged (--fresh ignores them), so an interrupted run resumes;
results of an older tree are moved aside to results-<fingerprint>.jsonl.
The survivors are written to <build-dir>/survivors.txt (--survivors), with the mutants that
only tests outside --sub-labels (default: unit) kill, so that tests can be aimed at them.
"""

import argparse
import hashlib
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_SUFFIXES = (".cpp", ".h")

# --------------------------------------------------------------------------------------------
# Lexing: tokens of the code outside comments, string/char literals and preprocessor lines.

PUNCTUATORS = sorted("""
<=> <<= >>= ... ->* -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= :: .*
{ } [ ] ( ) ; : ? , . + - * / % ^ & | ~ ! = < > #
""".split(), key=len, reverse=True)

KEYWORDS = set("""
alignas alignof asm auto bool break case catch char char8_t char16_t char32_t class co_await
co_return co_yield concept const consteval constexpr constinit const_cast continue decltype
default delete do double dynamic_cast else enum explicit export extern false float for friend
goto if inline int long mutable namespace new noexcept nullptr operator private protected public
register reinterpret_cast requires return short signed sizeof static static_assert static_cast
struct switch template this thread_local throw true try typedef typeid typename union unsigned
using virtual void volatile wchar_t while
""".split())

IDENT_RE = re.compile(r"[A-Za-z_]\w*")
NUMBER_RE = re.compile(r"\.?[0-9](?:[eEpP][+-]|'[0-9A-Za-z_]|[0-9A-Za-z_.])*")
INT_RE = re.compile(r"(0[xX][0-9A-Fa-f']+|0[bB][01']+|[0-9][0-9']*)([uUlLzZ]*)$")
STRING_PREFIX_RE = re.compile(r"(?:u8|u|U|L)?R?$")


class Token:
    __slots__ = ("kind", "text", "start", "end", "line", "first_on_line", "last_on_line")

    def __init__(self, kind, text, start, end, line):
        self.kind, self.text, self.start, self.end, self.line = kind, text, start, end, line
        self.first_on_line = self.last_on_line = False

    def __repr__(self):
        return f"{self.kind}:{self.text}@{self.line}"


def tokenize(text):
    """Tokens of C++ source: kinds ident, number, string, char, punct. Comments and
    preprocessor lines (with their continuations) are skipped."""
    tokens = []
    i, n, line = 0, len(text), 1
    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if c == "\\" and text.startswith("\n", i + 1):
            i += 2
            line += 1
            continue
        if text.startswith("//", i):
            j = i
            while j < n and text[j] != "\n":
                # A backslash at the end continues a line comment.
                if text[j] == "\\" and j + 1 < n and text[j + 1] == "\n":
                    line += 1
                    j += 1
                j += 1
            i = j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            line += text.count("\n", i, j)
            i = j
            continue
        if c == "#" and at_line_start:
            j = i
            while j < n:
                if text[j] == "\n":
                    if text[j - 1] == "\\":
                        line += 1
                        j += 1
                        continue
                    break
                if text.startswith("/*", j):
                    k = text.find("*/", j + 2)
                    k = n if k < 0 else k + 2
                    line += text.count("\n", j, k)
                    j = k
                    continue
                if text.startswith("//", j):
                    while j < n and text[j] != "\n":
                        j += 1
                    break
                j += 1
            i = j
            continue
        at_line_start = False
        start = i
        if c.isalpha() or c == "_":
            m = IDENT_RE.match(text, i)
            word = m.group(0)
            j = m.end()
            if j < n and text[j] in "\"'" and STRING_PREFIX_RE.match(word):
                i = start + len(word)
                kind, end = lex_quoted(text, start, i)
                line_inc = text.count("\n", start, end)
                tokens.append(Token(kind, text[start:end], start, end, line))
                line += line_inc
                i = end
                continue
            tokens.append(Token("ident", word, start, j, line))
            i = j
            continue
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            m = NUMBER_RE.match(text, i)
            tokens.append(Token("number", m.group(0), start, m.end(), line))
            i = m.end()
            continue
        if c in "\"'":
            kind, end = lex_quoted(text, start, i)
            tokens.append(Token(kind, text[start:end], start, end, line))
            line += text.count("\n", start, end)
            i = end
            continue
        for p in PUNCTUATORS:
            if text.startswith(p, i):
                tokens.append(Token("punct", p, start, i + len(p), line))
                i += len(p)
                break
        else:
            tokens.append(Token("other", c, start, i + 1, line))
            i += 1
    for k, tok in enumerate(tokens):
        tok.first_on_line = k == 0 or tokens[k - 1].line != tok.line
        tok.last_on_line = k + 1 == len(tokens) or tokens[k + 1].line != tok.line
    return tokens


def lex_quoted(text, start, quote_at):
    """End of the string or char literal whose quote is at quote_at (prefix from start)."""
    q = text[quote_at]
    prefix = text[start:quote_at]
    n = len(text)
    if q == '"' and prefix.endswith("R"):
        open_paren = text.find("(", quote_at)
        delim = text[quote_at + 1:open_paren]
        close = text.find(")" + delim + '"', open_paren)
        end = n if close < 0 else close + len(delim) + 2
        return "string", end
    j = quote_at + 1
    while j < n and text[j] != q:
        if text[j] == "\\":
            j += 1
        elif text[j] == "\n":
            break
        j += 1
    return ("string" if q == '"' else "char"), min(j + 1, n)


# --------------------------------------------------------------------------------------------
# Mutation sites.

class Site:
    __slots__ = ("path", "line", "col", "start", "end", "op", "before", "after",
                 "alternatives")

    def __init__(self, path, line, start, end, op, before, alternatives):
        self.path, self.line, self.start, self.end = path, line, start, end
        self.op, self.before, self.alternatives = op, before, alternatives
        self.after = alternatives[0]
        self.col = 0

    def where(self):
        return f"{self.path}:{self.line}:{self.col}"


EXPR_END_PUNCT = {")", "]"}
COMPARISON_FLIP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
TEMPLATE_KEYWORDS = {"template", "static_cast", "const_cast", "reinterpret_cast", "dynamic_cast"}
NO_CALL_DELETE = {"return", "delete", "throw", "co_return", "co_yield", "co_await", "goto",
                  "sizeof", "static_assert", "typedef", "using", "new", "case", "default",
                  "break", "continue", "if", "else", "while", "for", "do", "switch", "try",
                  "catch", "operator", "template", "typename", "decltype", "alignof"}


def is_expr_end(tok):
    if tok is None:
        return False
    if tok.kind == "ident":
        return tok.text not in KEYWORDS or tok.text in ("this", "true", "false", "nullptr")
    if tok.kind in ("number", "char", "string"):
        return True
    return tok.kind == "punct" and tok.text in EXPR_END_PUNCT


def is_expr_start(tok):
    if tok is None:
        return False
    if tok.kind == "ident":
        return tok.text not in KEYWORDS or tok.text in (
            "this", "true", "false", "nullptr", "sizeof", "static_cast", "const_cast",
            "reinterpret_cast", "dynamic_cast", "alignof", "noexcept")
    if tok.kind in ("number", "char", "string"):
        return True
    return tok.kind == "punct" and tok.text in ("(", "!", "-", "+", "~", "*", "&", "::")


def template_close(tokens, k):
    """When tokens[k] ('<') can open a template argument list, the index of the token that
    closes it; None when '<' can only be a comparison."""
    prev = tokens[k - 1] if k else None
    if prev is None or not (prev.kind == "ident" and
                            (prev.text not in KEYWORDS or prev.text in TEMPLATE_KEYWORDS)):
        return None
    depth, parens = 1, 0
    for j in range(k + 1, len(tokens)):
        t = tokens[j]
        if t.kind == "ident" and t.text == "return":
            return None
        if t.kind != "punct":
            continue
        if t.text in (";", "{", "}"):
            return None
        if t.text in ("(", "["):
            parens += 1
        elif t.text in (")", "]"):
            parens -= 1
            if parens < 0:
                return None
        elif parens:
            continue
        elif t.text == "<":
            depth += 1
        elif t.text in (">", ">>"):
            depth -= 1 if t.text == ">" else 2
            if depth <= 0:
                return j
        elif t.text in ("||", "&&", "?", ":", "=", "==", "!=", "<=", ">=", "+=", "-="):
            # "a < b && c > d" is two comparisons. (An rvalue reference among template
            # arguments, "F<T&&>", is taken for one too: such a '<' is then left alone.)
            return None
    return None


def find_sites(path, text):
    tokens = tokenize(text)
    sites = []

    def add(tok, op, alternatives):
        sites.append(Site(path, tok.line, tok.start, tok.end, op, tok.text, alternatives))

    template_closers = set()
    for k, tok in enumerate(tokens):
        if tok.kind == "punct" and tok.text == "<":
            close = template_close(tokens, k)
            if close is not None:
                template_closers.add(close)

    # Kind of each brace block: code (function bodies, statements, lambdas) or not
    # (class, namespace, enum, initializer).
    for k, tok in enumerate(tokens):
        prev = tokens[k - 1] if k else None
        nxt = tokens[k + 1] if k + 1 < len(tokens) else None
        after_operator = prev is not None and prev.text == "operator"
        if tok.kind == "punct" and tok.text in COMPARISON_FLIP and not after_operator:
            if tok.text == "<" and template_close(tokens, k) is not None:
                continue
            if tok.text == ">" and k in template_closers:
                continue
            if is_expr_end(prev) and is_expr_start(nxt):
                add(tok, "comparison", [COMPARISON_FLIP[tok.text]])
        elif tok.kind == "number":
            m = INT_RE.match(tok.text)
            if not m or after_operator:
                continue
            if (tok.text == "0" and prev is not None and prev.text == "=" and
                    nxt is not None and nxt.text == ";" and k >= 2 and
                    tokens[k - 2].text in (")", "const", "override", "noexcept")):
                continue  # "= 0" of a pure virtual function
            digits, suffix = m.group(1).replace("'", ""), m.group(2)
            if digits[:2] in ("0x", "0X"):
                value, fmt = int(digits, 16), lambda v, d=digits: d[:2] + format(v, "X" if any(
                    ch.isupper() for ch in d[2:]) else "x")
            elif digits[:2] in ("0b", "0B"):
                value, fmt = int(digits, 2), lambda v, d=digits: d[:2] + format(v, "b")
            elif len(digits) > 1 and digits[0] == "0":
                value, fmt = int(digits, 8), lambda v: "0" + format(v, "o")
            else:
                value, fmt = int(digits), str
            alternatives = [fmt(value + 1) + suffix]
            if value > 0:
                alternatives.append(fmt(value - 1) + suffix)
            add(tok, "constant", alternatives)
        elif tok.kind == "punct" and tok.text in ("&&", "||") and not after_operator:
            # "&&" also declares rvalue references ("T&& x"): only a spaced "a && b" counts.
            spaced = (prev is not None and nxt is not None and prev.end < tok.start and
                      tok.end < nxt.start)
            if is_expr_end(prev) and is_expr_start(nxt) and (tok.text == "||" or spaced):
                add(tok, "logical", ["||" if tok.text == "&&" else "&&"])
        elif tok.kind == "punct" and tok.text in ("+", "-") and not after_operator:
            # Binary arithmetic only; text concatenation with a string literal is left alone.
            if (is_expr_end(prev) and is_expr_start(nxt) and prev.kind != "string" and
                    nxt.kind != "string"):
                add(tok, "arithmetic", ["-" if tok.text == "+" else "+"])
        elif tok.kind == "ident" and tok.text in ("true", "false"):
            add(tok, "boolean", ["false" if tok.text == "true" else "true"])

    sites.extend(call_statement_sites(path, text, tokens))
    sites.sort(key=lambda s: (s.start, s.op))
    for site in sites:
        site.col = site.start - text.rfind("\n", 0, site.start)
    return sites


CODE_BLOCK_AFTER = {")", "]", ":", "const", "override", "final", "noexcept", "mutable",
                    "else", "do", "try"}


def block_kinds(tokens):
    """For each '{' token index: True when it opens a block of statements (function body,
    if/for/while/else body, lambda), False for a class, namespace, enum or initializer, and
    None for a plain block, which is what the enclosing block is."""
    kinds = {}
    for k, tok in enumerate(tokens):
        if tok.kind != "punct" or tok.text != "{":
            continue
        prev = tokens[k - 1] if k else None
        if prev is None:
            kinds[k] = False
            continue
        if prev.text in (";", "{", "}") and prev.kind == "punct":
            kinds[k] = None if prev.text != "{" else False
            continue
        code = prev.text in CODE_BLOCK_AFTER and prev.kind in ("punct", "ident")
        j = k - 1
        while code and j >= 0 and not (tokens[j].kind == "punct" and
                                       tokens[j].text in (";", "{", "}")):
            if tokens[j].kind == "ident" and tokens[j].text in (
                    "class", "struct", "namespace", "enum", "union", "extern"):
                code = False
            j -= 1
        kinds[k] = code
    return kinds


def call_statement_sites(path, text, tokens):
    """Whole-line statements that are just a call, "a.b(x);", inside a block of code."""
    sites = []
    kinds = block_kinds(tokens)
    stack = []
    for k, tok in enumerate(tokens):
        if tok.kind == "punct" and tok.text == "{":
            kind = kinds[k]
            stack.append(kind if kind is not None else (stack[-1] if stack else False))
            continue
        if tok.kind == "punct" and tok.text == "}":
            if stack:
                stack.pop()
            continue
        if not stack or not stack[-1] or not tok.first_on_line or tok.kind != "ident":
            continue
        prev = tokens[k - 1] if k else None
        if prev is None or not (prev.kind == "punct" and prev.text in (";", "{", "}", ":")):
            continue
        if tok.text in KEYWORDS and tok.text != "this":
            continue
        end = call_chain_end(tokens, k)
        if end is None or not tokens[end].last_on_line:
            continue
        first_line_start = text.rfind("\n", 0, tok.start) + 1
        end_tok = tokens[end]
        line_end = text.find("\n", end_tok.end)
        line_end = len(text) if line_end < 0 else line_end
        if text[first_line_start:tok.start].strip() or text[end_tok.end:line_end].strip() and \
                not text[end_tok.end:line_end].strip().startswith("//"):
            continue
        statement = text[tok.start:end_tok.end]
        site = Site(path, tok.line, tok.start, end_tok.end, "call", statement,
                    ["\n" * statement.count("\n")])
        sites.append(site)
    return sites


def call_chain_end(tokens, k):
    """Index of the ';' when tokens[k:] is "name(...)", "a.b(...)->c(...)", "ns::f(...)"
    followed by ';'; otherwise None."""
    j = k
    saw_call = False
    expect_name = True
    while j < len(tokens):
        t = tokens[j]
        if expect_name:
            if t.kind != "ident" or (t.text in KEYWORDS and t.text != "this"):
                return None
            expect_name = False
            j += 1
            continue
        if t.kind != "punct":
            return None
        if t.text in ("::", ".", "->"):
            expect_name = True
            saw_call = False
            j += 1
            continue
        if t.text in ("(", "["):
            close = matching(tokens, j)
            if close is None:
                return None
            saw_call = t.text == "("
            j = close + 1
            continue
        if t.text == ";":
            return j if saw_call else None
        return None
    return None


def matching(tokens, k):
    pairs = {"(": ")", "[": "]"}
    open_text, close_text = tokens[k].text, pairs[tokens[k].text]
    depth = 0
    for j in range(k, len(tokens)):
        t = tokens[j]
        if t.kind != "punct":
            continue
        if t.text == open_text:
            depth += 1
        elif t.text == close_text:
            depth -= 1
            if depth == 0:
                return j
        elif t.text in (";", "{", "}") and open_text == "(" and t.text == ";":
            return None
    return None


# --------------------------------------------------------------------------------------------
# Source files, sampling.

def default_source_dirs():
    """Every folder under src/ except the operating-system folders under src/platform/."""
    dirs = []
    src = os.path.join(ROOT, "src")
    for entry in sorted(os.listdir(src)):
        full = os.path.join(src, entry)
        if os.path.isdir(full):
            dirs.append(os.path.join("src", entry))
    return dirs


def source_files(source_dirs, explicit):
    files = []
    for d in source_dirs:
        base = os.path.join(ROOT, d)
        if not os.path.isdir(base):
            sys.exit(f"mutate: no folder {d}")
        for dirpath, dirnames, filenames in os.walk(base):
            rel = os.path.relpath(dirpath, ROOT)
            dirnames.sort()
            if not explicit and rel == os.path.join("src", "platform"):
                dirnames[:] = []  # src/platform/<os>/: the adapters, not portable code
            for name in sorted(filenames):
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.join(rel, name))
    return sorted(set(files))


def sample(sites_by_file, count, seed):
    """count sites spread across the files in proportion to their sites (largest
    remainders), each file's share drawn at random; deterministic for a seed."""
    rng = random.Random(seed)
    total = sum(len(s) for s in sites_by_file.values())
    files = sorted(f for f, s in sites_by_file.items() if s)
    if count >= total:
        chosen = {f: list(sites_by_file[f]) for f in files}
    else:
        quotas = {f: count * len(sites_by_file[f]) / total for f in files}
        shares = {f: int(q) for f, q in quotas.items()}
        left = count - sum(shares.values())
        order = sorted(files, key=lambda f: (-(quotas[f] - shares[f]), rng.random()))
        for f in order[:left]:
            shares[f] += 1
        chosen = {f: rng.sample(sites_by_file[f], shares[f]) for f in files}
    picked = []
    for f in files:
        for site in sorted(chosen[f], key=lambda s: (s.start, s.op)):
            site.after = site.alternatives[rng.randrange(len(site.alternatives))]
            picked.append(site)
    return picked


# --------------------------------------------------------------------------------------------
# Build and test.

class Runner:
    def __init__(self, args):
        self.args = args
        self.build_dir = os.path.abspath(os.path.join(ROOT, args.build_dir))
        self.restore_dir = os.path.join(self.build_dir, "restore")
        self.object_hashes = {}

    def run(self, cmd, timeout=None):
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, errors="replace", timeout=timeout)

    def configure(self):
        if os.path.exists(os.path.join(self.build_dir, "CMakeCache.txt")):
            return
        print(f"configuring {os.path.relpath(self.build_dir, ROOT)}", flush=True)
        result = self.run(["cmake", "-S", ROOT, "-B", self.build_dir, "-G", "Ninja",
                           "-DCMAKE_BUILD_TYPE=Debug", "-DPELLOX_SANITIZE=OFF",
                           "-DPELLOX_TESTS=ON"])
        if result.returncode != 0:
            sys.exit("mutate: configure failed:\n" + result.stdout)

    def build(self):
        """(ok, output) after an incremental build."""
        try:
            result = self.run(["cmake", "--build", self.build_dir, "-j", str(self.args.jobs)],
                              timeout=self.args.build_timeout)
        except subprocess.TimeoutExpired:
            return False, "build timed out"
        return result.returncode == 0, result.stdout

    def objects(self):
        found = []
        for dirpath, _, filenames in os.walk(self.build_dir):
            for name in filenames:
                if name.endswith(".o"):
                    found.append(os.path.join(dirpath, name))
        return found

    @staticmethod
    def digest(path):
        with open(path, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()

    def record_objects(self):
        self.object_hashes = {p: self.digest(p) for p in self.objects()}

    def objects_changed(self, since):
        """Whether any object file rebuilt after `since` differs from the original build."""
        changed = False
        for p in self.objects():
            if os.path.getmtime(p) >= since and self.object_hashes.get(p) != self.digest(p):
                changed = True
        return changed

    def ctest(self, labels, wall_timeout, junit, rerun_failed=False):
        """(passed, failed test names, timed_out). failed is None when unknown. A test passes
        when one of --attempts runs passes; rerun_failed runs only the last run's failures."""
        if os.path.exists(junit):
            os.remove(junit)
        cmd = ["ctest", "--test-dir", self.build_dir, "-L", labels, "-j", str(self.args.jobs),
               "--timeout", str(self.args.timeout), "--output-junit", junit]
        if self.args.attempts > 1:
            cmd += ["--repeat", f"until-pass:{self.args.attempts}"]
        cmd += ["--rerun-failed"] if rerun_failed else ["--no-tests=error"]
        proc = subprocess.Popen(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                text=True, errors="replace", start_new_session=True)
        timed_out = False
        try:
            out, _ = proc.communicate(timeout=wall_timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
        finally:
            if proc.poll() is None or timed_out:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                proc.communicate()
        if timed_out:
            return False, None, True
        failed = junit_failures(junit)
        if failed is None:
            failed = re.findall(r"^\s*\d+ - (\S+) \(", out, re.M) or None
        return proc.returncode == 0, failed, False

    def test_labels(self, labels):
        """Test name -> its labels, for the tests that `labels` selects."""
        result = self.run(["ctest", "--test-dir", self.build_dir, "-L", labels,
                           "--show-only=json-v1"])
        data = json.loads(result.stdout[result.stdout.find("{"):])
        names = {}
        for test in data.get("tests", []):
            tags = []
            for prop in test.get("properties", []):
                if prop.get("name") == "LABELS":
                    tags = prop.get("value", [])
            names[test["name"]] = tags
        return names


def evaluate(runner, labels, wall_timeout, junit):
    """(killed, failing tests or None, timed out, flaky tests). A failure counts only when a
    second, fresh ctest run of the failing tests fails again: window tests on a shared,
    loaded machine now and then lose their display."""
    passed, failed, timed_out = runner.ctest(labels, wall_timeout, junit)
    if passed:
        return False, [], False, []
    if runner.args.confirm:
        if timed_out or not failed:
            passed2, failed2, timed_out2 = runner.ctest(labels, wall_timeout, junit)
        else:
            passed2, failed2, timed_out2 = runner.ctest(labels, wall_timeout, junit,
                                                        rerun_failed=True)
        if passed2:
            return False, [], False, ["timeout"] if timed_out else (failed or [])
        flaky = [] if failed is None or failed2 is None else \
            [name for name in failed if name not in failed2]
        return True, failed2, timed_out2, flaky
    return True, failed, timed_out, []


def junit_failures(path):
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        return None
    failed = []
    for case in root.iter("testcase"):
        status = case.get("status", "run")
        if status not in ("run", "disabled") or case.find("failure") is not None or \
                case.find("error") is not None:
            failed.append(case.get("name"))
    return failed


def git(*args):
    return subprocess.run(["git", *args], cwd=ROOT, stdout=subprocess.PIPE, text=True,
                          errors="replace").stdout


def tree_fingerprint():
    """Hash of every file the build and tests depend on (all but this script)."""
    names = git("ls-files", "-co", "--exclude-standard", "-z").split("\0")
    h = hashlib.sha256()
    names = [n for n in names if n and n != "scripts/mutate.py" and "__pycache__" not in n]
    for name in sorted(names):
        path = os.path.join(ROOT, name)
        if os.path.isfile(path):
            h.update(name.encode() + b"\0")
            with open(path, "rb") as f:
                h.update(hashlib.sha256(f.read()).digest())
    return h.hexdigest()


def read_text(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        raw = f.read()
    return raw, raw.decode("utf-8", errors="surrogateescape")


def write_bytes(path, data):
    with open(os.path.join(ROOT, path), "wb") as f:
        f.write(data)


def site_key(site, file_hash):
    return f"{site.path}:{site.start}:{site.op}:{site.before}->{site.after}:{file_hash[:16]}"


def show(text, limit=60):
    text = " ".join(text.split())
    return text if len(text) <= limit else text[:limit - 3] + "..."


def restore_leftovers(restore_dir):
    """Puts back files that a run killed outright left mutated."""
    if not os.path.isdir(restore_dir):
        return
    for name in os.listdir(restore_dir):
        if not name.endswith(".json"):
            continue
        with open(os.path.join(restore_dir, name)) as f:
            entry = json.load(f)
        with open(os.path.join(restore_dir, entry["copy"]), "rb") as f:
            write_bytes(entry["path"], f.read())
        print(f"restored {entry['path']} left mutated by an earlier run", flush=True)
        os.remove(os.path.join(restore_dir, entry["copy"]))
        os.remove(os.path.join(restore_dir, name))


def pct(killed, compiled):
    return f"{100.0 * killed / compiled:.1f}%" if compiled else "n/a"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--source-dirs", nargs="+", metavar="DIR",
                        help="folders to mutate (default: src/ without src/platform/<os>/)")
    parser.add_argument("--count", type=int, default=120, help="mutants to run (default 120)")
    parser.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    parser.add_argument("--labels", default="unit|linux|x11",
                        help="ctest label regex of the tests to run (default unit|linux|x11)")
    parser.add_argument("--sub-labels", default="unit",
                        help="label regex scored separately from the same runs (default unit; "
                             "'' for none)")
    parser.add_argument("--build-dir", default="build/mutation")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=60,
                        help="ctest --timeout for tests without their own (default 60 s)")
    parser.add_argument("--build-timeout", type=int, default=900)
    parser.add_argument("--attempts", type=int, default=3,
                        help="runs a failing test gets within one ctest run (default 3)")
    parser.add_argument("--no-confirm", dest="confirm", action="store_false",
                        help="count a failure without rerunning the failing tests")
    parser.add_argument("--survivors", help="survivor list (default <build-dir>/survivors.txt)")
    parser.add_argument("--fresh", action="store_true", help="ignore earlier results")
    parser.add_argument("--list", action="store_true",
                        help="print the sampled mutants and the site counts, run nothing")
    args = parser.parse_args()

    os.chdir(ROOT)
    runner = Runner(args)
    restore_leftovers(runner.restore_dir)

    explicit = args.source_dirs is not None
    dirs = args.source_dirs if explicit else default_source_dirs()
    files = source_files(dirs, explicit)
    originals, sites_by_file = {}, {}
    for path in files:
        raw, text = read_text(path)
        originals[path] = raw
        sites_by_file[path] = find_sites(path, text)
    total = sum(len(s) for s in sites_by_file.values())
    by_op = {}
    for sites in sites_by_file.values():
        for s in sites:
            by_op[s.op] = by_op.get(s.op, 0) + 1
    print(f"{len(files)} files, {total} sites (" +
          ", ".join(f"{op} {n}" for op, n in sorted(by_op.items())) + ")", flush=True)
    picked = sample(sites_by_file, args.count, args.seed)
    if args.list:
        for s in picked:
            print(f"{s.where()}  {s.op:<10} {show(s.before)!r} -> {show(s.after)!r}")
        return 0

    os.makedirs(runner.build_dir, exist_ok=True)
    journal_path = os.path.join(runner.build_dir, "results.jsonl")
    survivors_path = args.survivors or os.path.join(runner.build_dir, "survivors.txt")
    fingerprint = tree_fingerprint()
    header = {"fingerprint": fingerprint, "labels": args.labels, "sub_labels": args.sub_labels,
              "attempts": args.attempts, "confirm": args.confirm}
    done = {}
    if not args.fresh and os.path.exists(journal_path):
        with open(journal_path) as f:
            lines = [json.loads(line) for line in f if line.strip()]
        if lines and lines[0] == header:
            done = {r["key"]: r for r in lines[1:]}
        elif lines:
            # Results of other sources, tests or options: kept aside, not reused.
            old = lines[0].get("fingerprint", "unknown")[:12]
            os.replace(journal_path, os.path.join(runner.build_dir, f"results-{old}.jsonl"))
    if not done:
        with open(journal_path, "w") as f:
            f.write(json.dumps(header) + "\n")
    git_diff_before = git("diff", "HEAD", "--", *dirs)
    file_hashes = {p: hashlib.sha256(raw).hexdigest() for p, raw in originals.items()}

    runner.configure()
    print("building and testing the original code", flush=True)
    ok, out = runner.build()
    if not ok:
        sys.exit("mutate: the original code does not build:\n" + out[-4000:])
    runner.record_objects()
    junit = os.path.join(runner.build_dir, "mutant-junit.xml")
    started = time.monotonic()
    killed, failed, _, flaky = evaluate(runner, args.labels, 3600, junit)
    baseline_seconds = time.monotonic() - started
    if killed:
        sys.exit(f"mutate: tests fail on the original code: {failed}")
    if flaky:
        print(f"flaky on the original code (failed once, then passed): {', '.join(flaky)}")
    labels_of = runner.test_labels(args.labels)
    sub_re = re.compile(args.sub_labels) if args.sub_labels else None
    wall_timeout = max(60.0, 4 * baseline_seconds + args.timeout)
    print(f"{len(labels_of)} tests pass in {baseline_seconds:.0f} s; a run longer than "
          f"{wall_timeout:.0f} s counts as a timeout", flush=True)

    def sub_killed(failed_tests):
        if sub_re is None or failed_tests is None:
            return None
        return any(any(sub_re.search(lab) for lab in labels_of.get(name, []))
                   for name in failed_tests)

    results = []
    interrupted = False
    for index, site in enumerate(picked, 1):
        key = site_key(site, file_hashes[site.path])
        prefix = (f"[{index:3}/{len(picked)}] {site.where()} {site.op:<10} "
                  f"{show(site.before)!r} -> {show(site.after)!r}")
        if key in done:
            record = done[key]
            results.append((site, record))
            print(f"{prefix}: {record['outcome']} (earlier run)", flush=True)
            continue
        record = {"key": key}
        t0 = time.monotonic()
        original = originals[site.path]
        text = original.decode("utf-8", errors="surrogateescape")
        mutated = (text[:site.start] + site.after + text[site.end:]).encode(
            "utf-8", errors="surrogateescape")
        copy_name = hashlib.sha1(site.path.encode()).hexdigest()
        try:
            os.makedirs(runner.restore_dir, exist_ok=True)
            with open(os.path.join(runner.restore_dir, copy_name), "wb") as f:
                f.write(original)
            with open(os.path.join(runner.restore_dir, copy_name + ".json"), "w") as f:
                json.dump({"path": site.path, "copy": copy_name}, f)
            build_started = time.time()
            write_bytes(site.path, mutated)
            ok, out = runner.build()
            record["build_s"] = round(time.monotonic() - t0, 1)
            if not ok:
                record["outcome"] = "did not compile"
            elif not runner.objects_changed(build_started - 1):
                record["outcome"] = "equivalent"  # same object code as the original
            else:
                t1 = time.monotonic()
                killed, failed, timed_out, flaky = evaluate(runner, args.labels, wall_timeout,
                                                            junit)
                if flaky:
                    record["flaky"] = flaky
                if not killed:
                    record["outcome"] = "survived"
                    record["sub_killed"] = False if sub_re else None
                else:
                    record["outcome"] = "killed"
                    record["timed_out"] = timed_out
                    record["failed"] = failed
                    sub = sub_killed(failed)
                    if sub is None and sub_re is not None:
                        sub, _, _, _ = evaluate(runner, args.sub_labels, wall_timeout, junit)
                    record["sub_killed"] = sub
                record["test_s"] = round(time.monotonic() - t1, 1)
        except KeyboardInterrupt:
            interrupted = True
        finally:
            write_bytes(site.path, original)
            for name in (copy_name, copy_name + ".json"):
                try:
                    os.remove(os.path.join(runner.restore_dir, name))
                except FileNotFoundError:
                    pass
        if interrupted:
            print(f"{prefix}: interrupted", flush=True)
            break
        record["seconds"] = round(time.monotonic() - t0, 1)
        with open(journal_path, "a") as f:
            f.write(json.dumps(record) + "\n")
        results.append((site, record))
        detail = ""
        if record["outcome"] == "killed":
            names = record.get("failed") or []
            detail = " (timeout)" if record.get("timed_out") else f" ({len(names)} tests failed)"
            if sub_re is not None and not record.get("sub_killed"):
                detail += f" [not by {args.sub_labels}]"
        if record.get("flaky"):
            detail += f" (did not fail again: {', '.join(record['flaky'])})"
        print(f"{prefix}: {record['outcome']}{detail} {record['seconds']:.0f}s", flush=True)

    # The tree must be as it was.
    for path, raw in originals.items():
        if read_text(path)[0] != raw:
            write_bytes(path, raw)
            print(f"mutate: {path} was not restored; put back now", file=sys.stderr)
    if git("diff", "HEAD", "--", *dirs) != git_diff_before:
        print("mutate: WARNING: git diff of the sources differs from before the run",
              file=sys.stderr)
        return 2

    summarize(results, args, None if interrupted else survivors_path, sub_re is not None)
    return 130 if interrupted else 0


def summarize(results, args, survivors_path, with_sub):
    compiled = [(s, r) for s, r in results if r["outcome"] in ("killed", "survived")]
    killed = [(s, r) for s, r in compiled if r["outcome"] == "killed"]
    survived = [(s, r) for s, r in compiled if r["outcome"] == "survived"]
    not_compiled = sum(1 for _, r in results if r["outcome"] == "did not compile")
    equivalent = sum(1 for _, r in results if r["outcome"] == "equivalent")
    seconds = [r["seconds"] for _, r in results if "seconds" in r]
    print()
    print(f"mutants: {len(compiled)} compiled, {len(killed)} killed, {len(survived)} survived: "
          f"score {pct(len(killed), len(compiled))}  (labels {args.labels}; "
          f"{not_compiled} did not compile, {equivalent} same object code)")
    if with_sub:
        sub_killed = sum(1 for _, r in killed if r.get("sub_killed"))
        print(f"mutants: {len(compiled)} compiled, {sub_killed} killed, "
              f"{len(compiled) - sub_killed} survived: score {pct(sub_killed, len(compiled))}"
              f"  (labels {args.sub_labels} only)")
    flaky = sum(1 for _, r in results if r.get("flaky"))
    if flaky:
        print(f"{flaky} mutants had test failures that a fresh run did not repeat (not counted)")
    if seconds:
        print(f"time per mutant: {sum(seconds) / len(seconds):.0f} s on average, "
              f"{min(seconds):.0f}-{max(seconds):.0f} s")
    per_file = {}
    for s, r in compiled:
        entry = per_file.setdefault(s.path, [0, 0, 0])
        entry[0] += 1
        entry[1] += r["outcome"] == "killed"
        entry[2] += bool(r.get("sub_killed"))
    print("per file" + (f" (all labels / {args.sub_labels} only):" if with_sub else ":"))
    for path in sorted(per_file):
        n, k, sk = per_file[path]
        line = f"  {path:<40} {k:3}/{n:<3} {pct(k, n):>7}"
        if with_sub:
            line += f"   {sk:3}/{n:<3} {pct(sk, n):>7}"
        print(line)

    if survivors_path is None:
        print("interrupted: the survivor list is written when every mutant has run")
        return
    os.makedirs(os.path.dirname(os.path.abspath(survivors_path)), exist_ok=True)
    with open(survivors_path, "w") as f:
        f.write(f"# Mutants that no test labelled {args.labels} kills "
                f"(seed {args.seed}, count {args.count}).\n")
        f.write("# file:line:column  operator  before -> after  | the original line\n")
        for s, r in survived:
            f.write(survivor_line(s) + "\n")
        if with_sub:
            only_outside = [(s, r) for s, r in killed if not r.get("sub_killed")]
            f.write(f"\n# Killed, but not by the tests labelled {args.sub_labels} "
                    f"(killed by: the tests named after '|').\n")
            for s, r in only_outside:
                names = "timeout" if r.get("timed_out") else ", ".join(r.get("failed") or [])
                f.write(survivor_line(s) + f"  | {names}\n")
    print(f"survivors: {survivors_path}")


def survivor_line(site):
    raw = open(os.path.join(ROOT, site.path), "rb").read().decode("utf-8", "surrogateescape")
    lines = raw.split("\n")
    source = lines[site.line - 1].strip() if site.line - 1 < len(lines) else ""
    return (f"{site.where()}  {site.op}  {show(site.before)!r} -> "
            f"{show(site.after)!r}  | {source}")


if __name__ == "__main__":
    def terminate(signum, frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, terminate)
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)
