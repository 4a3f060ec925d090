#!/usr/bin/env python3
"""Lists the simple faults that scripts/mutate.sh plants in one C++ source file.

Each fault is one change on one line: a comparison flipped or made strict, a logical operator swapped,
an integer constant moved by one, a call statement dropped, a min/max clamp turned round, an if
condition inverted, or the two arguments of a two-argument call swapped. Comments, preprocessor lines,
string and character literals are never touched.

    mutants.py list FILE [N]        prints "index<TAB>line<TAB>kind<TAB>new line" for up to N faults,
                                    spread evenly over the file when it offers more
    mutants.py apply FILE INDEX N   writes the file with fault INDEX (of the same list) planted
"""
import re
import sys

COMPARE_SWAPS = {"<=": "<", ">=": ">", "<": "<=", ">": ">=", "==": "!=", "!=": "=="}
LOGIC_SWAPS = {"&&": "||", "||": "&&"}
CLAMP_SWAPS = {"std::min(": "std::max(", "std::max(": "std::min("}
# Keywords that open a statement rather than name a call.
NOT_CALLS = {"if", "for", "while", "switch", "return", "sizeof", "static_assert", "case", "do", "else",
             "delete", "throw", "co_return", "alignof", "decltype", "new"}


def code_mask(lines):
    """For every line, a copy in which comments and literals are blanked (same length), so that the
    patterns below only see code; lines that must not be touched at all come back empty."""
    masked = []
    in_block = False
    for line in lines:
        out = []
        i = 0
        n = len(line)
        if not in_block and line.lstrip().startswith("#"):
            masked.append("")
            continue
        while i < n:
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    out.append(" " * (n - i))
                    i = n
                else:
                    out.append(" " * (end + 2 - i))
                    i = end + 2
                    in_block = False
                continue
            c = line[i]
            if line.startswith("//", i):
                out.append(" " * (n - i))
                break
            if line.startswith("/*", i):
                in_block = True
                out.append("  ")
                i += 2
                continue
            if c in "\"'":
                # A digit separator (1'000) is not a character literal.
                if c == "'" and i > 0 and line[i - 1].isalnum():
                    out.append(c)
                    i += 1
                    continue
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                j = min(j + 1, n)
                out.append(c + " " * (j - i - 2) + (c if j - i >= 2 else ""))
                i = j
                continue
            out.append(c)
            i += 1
        masked.append("".join(out))
    return masked


def matching_paren(text, open_at):
    depth = 0
    for k in range(open_at, len(text)):
        if text[k] == "(":
            depth += 1
        elif text[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def top_level_commas(text, start, end):
    depth = 0
    commas = []
    for k in range(start, end):
        ch = text[k]
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            depth -= 1
        elif ch == "," and depth == 0:
            commas.append(k)
    return commas


def faults_of_line(line, code):
    """Yields (kind, new line) for every fault this line offers."""
    if not code.strip() or "static_assert" in code or code.strip().startswith("template"):
        return
    # Comparisons. The code is clang-formatted, so a binary < or > stands between spaces, and the
    # angle brackets of templates never do.
    for m in re.finditer(r"(<=|>=|==|!=|(?<= )<(?= )|(?<= )>(?= ))", code):
        if "operator" in code[max(0, m.start() - 9):m.start()]:
            continue
        yield "compare", line[:m.start()] + COMPARE_SWAPS[m.group(1)] + line[m.end():]
    for m in re.finditer(r"&&|\|\|", code):
        yield "logic", line[:m.start()] + LOGIC_SWAPS[m.group(0)] + line[m.end():]
    for key, swap in CLAMP_SWAPS.items():
        for m in re.finditer(re.escape(key), code):
            yield "clamp", line[:m.start()] + swap + line[m.end():]
    # Integer constants (not in array sizes of declarations, not part of a name or a float).
    for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
        if re.search(r"\[\s*$", code[:m.start()]) and re.search(r"^\s*\]\s*[;={]", code[m.end():]):
            continue
        # Nor a template's arguments: most such changes do not build.
        if re.search(r"\w<[^<>()= ]*(, [^<>()=]*)?$", code[:m.start()]):
            continue
        value = int(m.group(1))
        yield "constant", line[:m.start()] + str(value + 1) + line[m.end():]
    stripped = code.strip()
    # A call statement on a line of its own, its result unused.
    call = re.match(r"^\s*([A-Za-z_][\w:.\->]*)\s*\(", code)
    if call and stripped.endswith(");") and call.group(1).split(":")[-1] not in NOT_CALLS \
            and "=" not in code[:call.end()] and matching_paren(code, call.end() - 1) == len(code.rstrip()) - 2:
        indent = line[:len(line) - len(line.lstrip())]
        yield "call dropped", indent + "(void)0;  // planted: " + line.strip()
    # An if condition inverted.
    for m in re.finditer(r"\bif\s*(constexpr\s*)?\(", code):
        if m.group(1):
            continue
        close = matching_paren(code, m.end() - 1)
        if close < 0:
            continue
        yield "condition", line[:m.end()] + "!(" + line[m.end():close] + ")" + line[close:]
    # The two arguments of a two-argument call swapped.
    for m in re.finditer(r"\b([A-Za-z_]\w*)\s*\(", code):
        if m.group(1) in NOT_CALLS or m.group(1) in ("min", "max"):
            continue
        close = matching_paren(code, m.end() - 1)
        if close < 0:
            continue
        commas = top_level_commas(code, m.end(), close)
        if len(commas) != 1:
            continue
        a = line[m.end():commas[0]].strip()
        b = line[commas[0] + 1:close].strip()
        if not a or not b or a == b:
            continue
        yield "arguments", line[:m.end()] + b + ", " + a + line[close:]


def all_faults(path):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    lines = text.split("\n")
    masked = code_mask(lines)
    faults = []
    for number, (line, code) in enumerate(zip(lines, masked), start=1):
        for kind, new in faults_of_line(line, code):
            if new != line:
                faults.append((number, kind, new))
    return lines, faults


def chosen(faults, limit):
    if limit <= 0 or len(faults) <= limit:
        return faults
    step = len(faults) / limit
    return [faults[int(k * step)] for k in range(limit)]


def main(argv):
    if len(argv) < 3 or argv[1] not in ("list", "apply"):
        sys.stderr.write(__doc__)
        return 2
    lines, faults = all_faults(argv[2])
    if argv[1] == "list":
        limit = int(argv[3]) if len(argv) > 3 else 0
        for index, (number, kind, new) in enumerate(chosen(faults, limit)):
            sys.stdout.write("%d\t%d\t%s\t%s\n" % (index, number, kind, new.strip()))
        return 0
    index, limit = int(argv[3]), int(argv[4])
    number, _, new = chosen(faults, limit)[index]
    lines[number - 1] = new
    with open(argv[2], "w", encoding="utf-8", errors="surrogateescape") as f:
        f.write("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
