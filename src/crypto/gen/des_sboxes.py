#!/usr/bin/env python3
"""Writes des_sboxes.inc: the eight DES S-boxes as Boolean circuits for the bitsliced core.

Each output bit of an S-box is a function of the six input bits. It is built by Shannon
splits, the split variable and the form of each split chosen by a small search that counts
gates, with functions already built for an earlier output bit of the same S-box costing
nothing. The forms used, with v the split variable and f0, f1 the two halves:
  v & f1, ~v & f0, v | f0, ~v | f1, f0 ^ v, f0 ^ (v & (f0 ^ f1)), f1 ^ (~v & (f0 ^ f1)).
Every circuit is checked against the table before it is written.
Usage: des_sboxes.py > ../des_sboxes.inc
"""
import itertools
import sys

S = [
    [14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7, 0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,
     4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0, 15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13],
    [15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10, 3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
     0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15, 13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9],
    [10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8, 13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,
     13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7, 1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12],
    [7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15, 13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,
     10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4, 3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14],
    [2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9, 14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,
     4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14, 11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3],
    [12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11, 10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,
     9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6, 4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13],
    [4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1, 13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,
     1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2, 6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12],
    [13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7, 1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,
     7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8, 2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11],
]

ALL = (1 << 64) - 1


def var_table(i):
    """Truth table of input a(i+1) (a1 is the most significant of the six input bits)."""
    t = 0
    for x in range(64):
        if (x >> (5 - i)) & 1:
            t |= 1 << x
    return t


VARS = [var_table(i) for i in range(6)]


def cofactors(f, i):
    """f with input i fixed to 0 and to 1, each spread over both values of input i."""
    m = VARS[i]
    sh = 1 << (5 - i)
    f1 = f & m
    f0 = f & ~m & ALL
    return (f0 | (f0 << sh)) & ALL, (f1 | (f1 >> sh)) & ALL


def support(f):
    return [i for i in range(6) if len(set(cofactors(f, i))) == 2]


class Builder:
    def __init__(self):
        self.built = {}  # truth table -> name
        self.lines = []
        for i in range(6):
            self.built[VARS[i]] = "a%d" % (i + 1)
        self.count = 0

    def cost(self, f, memo):
        """Gates needed for f given what is built (an estimate: shared halves are counted twice)."""
        if f in self.built:
            return 0, None
        if f in memo:
            return memo[f]
        best = (10 ** 9, None)
        if (f ^ ALL) in self.built:
            best = (1, ("not",))
        for i in support(f):
            f0, f1 = cofactors(f, i)
            v = VARS[i]
            cands = []
            if f0 == 0:
                cands.append((1, ("and", i, f1)))
            if f1 == 0:
                cands.append((1, ("andn", i, f0)))
            if f1 == ALL:
                cands.append((1, ("or", i, f0)))
            if f0 == ALL:
                cands.append((2, ("orn", i, f1)))
            if f1 == f0 ^ ALL:
                cands.append((1, ("xor", i, f0)))
            d = f0 ^ f1
            cands.append((2, ("mux0", i, f0, d)))
            cands.append((2, ("mux1", i, f1, d)))
            for gates, form in cands:
                c = gates
                for sub in form[2:]:
                    c += self.cost(sub, memo)[0]
                    if c >= best[0]:
                        break
                if c < best[0]:
                    best = (c, form)
        memo[f] = best
        return best

    def new(self, f, expr):
        name = "t%d" % self.count
        self.count += 1
        self.lines.append("    const V %s = %s;" % (name, expr))
        self.built[f] = name
        return name

    def build(self, f):
        if f in self.built:
            return self.built[f]
        _, form = self.cost(f, {})
        if form[0] == "not":
            return self.new(f, "~%s" % self.built[f ^ ALL])
        kind, i = form[0], form[1]
        v = "a%d" % (i + 1)
        subs = [self.build(s) for s in form[2:]]
        if f in self.built:  # built on the way
            return self.built[f]
        expr = {
            "and": lambda: "%s & %s" % (v, subs[0]),
            "andn": lambda: "AndNot(%s, %s)" % (v, subs[0]),
            "or": lambda: "%s | %s" % (v, subs[0]),
            "orn": lambda: "~AndNot(%s, %s)" % (subs[0], v),
            "xor": lambda: "%s ^ %s" % (subs[0], v),
            "mux0": lambda: "%s ^ (%s & %s)" % (subs[0], v, subs[1]),
            "mux1": lambda: "%s ^ AndNot(%s, %s)" % (subs[0], v, subs[1]),
        }[kind]()
        return self.new(f, expr)


def gates_of(lines):
    n = 0
    for line in lines:
        rhs = line.split("=", 1)[1]
        n += rhs.count("&") + rhs.count("|") + rhs.count("^") + rhs.count("~") + rhs.count("AndNot")
    return n


def evaluate(lines, outs, x):
    env = {"a%d" % (i + 1): -((x >> (5 - i)) & 1) for i in range(6)}
    for line in lines:
        name, rhs = line.strip()[len("const V "):].rstrip(";").split(" = ")
        rhs = rhs.replace("AndNot(", "andnot(")
        env[name] = eval(rhs, {"andnot": lambda a, b: ~a & b}, env)
    return [env[o] & 1 for o in outs]


def sbox_circuit(box):
    tables = []
    for bit in range(4):
        t = 0
        for x in range(64):
            row = ((x >> 4) & 2) | (x & 1)
            col = (x >> 1) & 15
            if (S[box][row * 16 + col] >> (3 - bit)) & 1:
                t |= 1 << x
        tables.append(t)
    best = None
    for order in itertools.permutations(range(4)):
        b = Builder()
        outs = [None] * 4
        for bit in order:
            outs[bit] = b.build(tables[bit])
        g = gates_of(b.lines)
        if best is None or g < best[0]:
            best = (g, b.lines, outs)
    g, lines, outs = best
    for x in range(64):
        row = ((x >> 4) & 2) | (x & 1)
        col = (x >> 1) & 15
        want = [(S[box][row * 16 + col] >> (3 - bit)) & 1 for bit in range(4)]
        assert evaluate(lines, outs, x) == want, (box, x)
    return g, lines, outs


def main():
    out = sys.stdout
    out.write("// Generated by gen/des_sboxes.py from the FIPS 46 S-box tables; do not edit.\n")
    out.write("// S-box n takes the six bits a1 (most significant) to a6 of its input and XORs its\n")
    out.write("// four output bits, o1 the most significant, into o1 to o4.\n")
    total = 0
    for box in range(8):
        g, lines, outs = sbox_circuit(box)
        total += g
        out.write("\n// %d gates\n" % g)
        out.write("template <class V>\n__attribute__((always_inline)) inline void S%d(V a1, V a2, V a3, V a4, V a5, V a6, V& o1, V& o2, V& o3, V& o4) {\n" % (box + 1))
        for line in lines:
            out.write(line + "\n")
        for bit in range(4):
            out.write("    o%d ^= %s;\n" % (bit + 1, outs[bit]))
        out.write("}\n")
    out.write("\n// %d gates in all\n" % total)
    print("gates:", total, file=sys.stderr)


main()
