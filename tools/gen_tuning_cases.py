#!/usr/bin/env python3
"""Generates the table of RX-320 tuning-word cases used by the protocol tests.

The receiver's tuning words are computed in 80-bit extended precision (64-bit
mantissa, round to nearest even after every operation), with the calibration
error, T and Q rounded to IEEE doubles because they are stored as doubles.
This script redoes that arithmetic exactly with rational numbers and explicit
rounding, so the expected words do not depend on the C++ compiler or on the
machine's floating point.

It also computes every case in plain double arithmetic and prints how many
cases that gets wrong, to show the table tells the two apart.

Usage: tools/gen_tuning_cases.py [OUTPUT]   (default: tests/unit/tuning_cases.inc)
"""

import os
import random
import sys
from fractions import Fraction

EXTENDED_BITS = 64  # x87 extended mantissa
DOUBLE_BITS = 53    # IEEE double mantissa

FILTER_BANDWIDTHS = [8000, 6000, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                     2700, 2550, 2400, 2250, 2100, 1800, 1500, 1350, 1050, 750, 525, 300]
MODE_FACTORS = [0, +1, -1, -1]  # AM, USB, LSB, CW
CW = 3


def round_to_bits(x, bits):
    """x rounded to the nearest binary number with `bits` mantissa bits, ties to even.

    Only normal numbers occur here, so no exponent limits are needed."""
    x = Fraction(x)
    n, d = x.numerator, x.denominator
    if n == 0:
        return Fraction(0)
    sign = -1 if n < 0 else 1
    n = abs(n)
    # exponent e with 2**e <= n/d < 2**(e+1)
    e = n.bit_length() - d.bit_length()
    if (n << max(0, -e)) < (d << max(0, e)):
        e -= 1
    shift = bits - 1 - e
    num, den = (n << shift, d) if shift >= 0 else (n, d << -shift)
    q, r = divmod(num, den)
    if 2 * r > den or (2 * r == den and q % 2 == 1):
        q += 1
    return sign * (Fraction(q << -shift) if shift < 0 else Fraction(q, 1 << shift))


def ext(x):
    return round_to_bits(x, EXTENDED_BITS)


def dbl(x):
    return round_to_bits(x, DOUBLE_BITS)


def trunc(x):
    """Truncation toward zero of a Fraction."""
    n, d = x.numerator, x.denominator
    return n // d if n >= 0 else -((-n) // d)


C_00125 = ext(Fraction(125, 100000))
C_546 = ext(Fraction(546, 100))
C_273 = ext(Fraction(273, 100))


def terms(case):
    k = MODE_FACTORS[case["mode"]]
    half_band = case["bandwidth"] // 2 + 200  # bandwidths are positive: // truncates
    bfo_term = 0
    if case["mode"] == CW:
        bfo_term = case["data_bfo"] if case["data_active"] else case["cw_tone"]
        half_band = 0
    return k, half_band, bfo_term


def words_extended(case):
    """The tuning words as the receiver's program computes them."""
    k, h, b = terms(case)
    freq = Fraction(case["freq"])
    slope = Fraction(case["slope"])
    offset = Fraction(case["offset"])
    cal_error = dbl(ext(ext(ext(slope * freq) / 1000) + offset))
    t = ext(freq / 1000)
    t = ext(t + ext(cal_error / 1000000))
    t = ext(t - C_00125)
    t = ext(t + ext(Fraction(k * (case["pbt"] + h), 1000000)))
    t = dbl(t)
    q = dbl(ext(t * 400))
    coarse = trunc(q)
    fine = trunc(ext(ext((q - coarse) * 2500) * C_546))
    bfo = trunc(ext((h + case["pbt"] + b + 8000) * C_273))
    return coarse + 18000, fine, bfo, q


def words_plain_double(case):
    """The same formula in plain double arithmetic (what a naive port computes)."""
    k, h, b = terms(case)
    freq, slope, offset = case["freq"], case["slope"], case["offset"]
    cal_error = slope * freq / 1000 + offset
    t = freq / 1000 + cal_error / 1000000 - 0.00125 + k * (case["pbt"] + h) / 1000000
    q = t * 400
    coarse = int(q)
    fine = int((q - coarse) * 2500 * 5.46)
    bfo = int((h + case["pbt"] + b + 8000) * 2.73)
    return coarse + 18000, fine, bfo


def calibration(lo_freq, lo_err, hi_freq, hi_err):
    """Slope and offset as the program derives them, in double arithmetic."""
    slope = 0.0 if hi_freq == lo_freq else (hi_err - lo_err) / (hi_freq - lo_freq)
    offset = hi_err - slope * hi_freq
    return slope, offset


def make_case(freq_text, mode, filter_index, pbt=0, cw_tone=700, data_active=False, data_bfo=0,
              cal=(0.0, 0.0, 0.0, 0.0), note=""):
    slope, offset = calibration(*cal)
    return {
        "freq_text": freq_text, "freq": float(freq_text), "mode": mode, "filter": filter_index,
        "bandwidth": FILTER_BANDWIDTHS[filter_index], "pbt": pbt, "cw_tone": cw_tone,
        "data_active": data_active, "data_bfo": data_bfo, "slope": slope, "offset": offset,
        "cal": cal, "note": note,
    }


def hz_text(hz):
    return "%d.%03d" % (hz // 1000, hz % 1000)


def random_cal(rng):
    lo = float(rng.randint(1, 10))
    hi = float(rng.randint(11, 30))
    return (lo, float(rng.randint(-300, 100)), hi, float(rng.randint(-300, 100)))


def random_case(rng, note):
    mode = rng.randrange(4)
    kw = {}
    if mode == CW:
        if rng.random() < 0.4:
            kw["data_active"] = True
            kw["data_bfo"] = rng.choice([1000, 1275, 1700, 2125, 2210, 2975, 3000])
        else:
            kw["cw_tone"] = rng.choice([300, 400, 500, 600, 700, 800, 1000, 1200])
    if rng.random() < 0.3:
        kw["cal"] = random_cal(rng)
    return make_case(hz_text(rng.randint(10_000, 30_000_000)), mode, rng.randrange(24),
                     pbt=50 * rng.randint(-40, 40), note=note, **kw)


def hair_below_whole(case):
    """Q a hair below a whole number (the exact value would be whole)."""
    q = words_extended(case)[3]
    return q - trunc(q) > 1 - Fraction(1, 10**9)


def near_whole_cases():
    """Frequencies whose exact Q is a whole number N: T = N / 400, so
    Freq = 2.5 N + 1.25 - k (PBT + H) / 1000 kHz, always a whole number of Hz.
    The rounding of T and Q decides whether Q comes out a hair below N (coarse
    N - 1 and fine 13649) or at N (fine 0)."""
    settings = [(0, 1, 0), (0, 23, 0), (1, 13, 0), (2, 13, 0), (1, 14, 100), (2, 14, -250),
                (1, 0, 2000), (2, 0, -2000), (1, 21, -1500), (2, 19, 650)]
    below, whole = [], []
    for n in range(5, 12000, 37):
        for mode, filt, pbt in settings:
            h = FILTER_BANDWIDTHS[filt] // 2 + 200
            hz = 2500 * n + 1250 - MODE_FACTORS[mode] * (pbt + h)
            if not 10_000 <= hz <= 30_000_000:
                continue
            case = make_case(hz_text(hz), mode, filt, pbt=pbt)
            if hair_below_whole(case):
                case["note"] = "Q a hair below a whole number"
                below.append(case)
            else:
                case["note"] = "Q at a whole number"
                whole.append(case)
    # Spread the chosen cases over the band.
    return below[::max(1, len(below) // 10)][:10] + whole[::max(1, len(whole) // 4)][:4]


def build_cases():
    rng = random.Random(320)
    cases = [
        make_case("10000.000", 0, 1, note="Q = 3999.4999999999995: fine 6824"),
        make_case("10000.000", 1, 13),
        make_case("7000.500", 2, 14, pbt=100),
        make_case("9575.000", 3, 23, cw_tone=700),
        make_case("10.000", 0, 0, note="lowest frequency"),
        make_case("30000.000", 0, 0, note="highest frequency"),
        make_case("10.000", 2, 0, pbt=2000, note="lowest, widest, LSB"),
        make_case("30000.000", 1, 0, pbt=2000, note="highest, widest, USB"),
        make_case("15000.000", 3, 23, data_active=True, data_bfo=2125, note="data-mode offset"),
        make_case("15000.000", 3, 23, cw_tone=1000, data_active=False, data_bfo=2125,
                  note="data offset set but not active"),
        make_case("5000.000", 0, 1, cal=(5.0, -87.0, 15.0, -126.0), note="calibration line"),
        make_case("10000.000", 0, 1, cal=(5.0, -87.0, 15.0, -126.0), note="calibration line"),
        make_case("10000.000", 0, 1, cal=(10.0, -50.0, 10.0, -50.0), note="equal points"),
    ]
    # The widest and the narrowest filter in every mode at one frequency.
    for mode in range(4):
        for filt in (0, 23):
            cases.append(make_case("9580.000", mode, filt, note="filter sweep"))
    # Multiples of 2.5 kHz in AM put the exact Q on a half: fine lands on 6825
    # or a hair below it.
    # In AM the filter moves only the BFO, so one filter per frequency will do.
    for i, khz in enumerate((2500, 3330, 7850, 9500, 10000, 14670, 17500, 25000, 29999)):
        cases.append(make_case("%d.000" % khz, 0, (0, 1, 13, 23)[i % 4], note="whole kHz"))
    for _ in range(10):
        cases.append(random_case(rng, "random"))
    # Random cases that plain double arithmetic gets wrong.
    wrong = []
    while len(wrong) < 20:
        case = random_case(rng, "plain double differs")
        if words_extended(case)[:3] != words_plain_double(case):
            wrong.append(case)
    return cases + near_whole_cases() + wrong


def cpp_double(x):
    """A C++ literal that reads back as exactly this double."""
    if x == 0:
        return "0.0"
    return x.hex()


def main():
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "tests", "unit", "tuning_cases.inc")
    cases = build_cases()
    assert words_extended(cases[0])[:3] == (21999, 6824, 30576)
    assert words_extended(cases[1])[:3] == (22000, 1228, 25866)
    assert words_extended(cases[2])[:3] == (20799, 1364, 25935)
    assert words_extended(cases[3])[:3] == (21829, 6825, 23751)

    plain_wrong = 0
    wrong_by_word = [0, 0, 0]
    lines = []
    for case in cases:
        coarse, fine, bfo, _ = words_extended(case)
        plain = words_plain_double(case)
        if plain != (coarse, fine, bfo):
            plain_wrong += 1
            for i, (a, b) in enumerate(zip(plain, (coarse, fine, bfo))):
                wrong_by_word[i] += a != b
        assert 0 <= coarse <= 0xFFFF and 0 <= fine <= 0xFFFF and 0 <= bfo <= 0xFFFF
        comment = case["note"]
        if case["cal"] != (0.0, 0.0, 0.0, 0.0):
            comment += " cal %g/%g %g/%g" % case["cal"]
        lines.append("    {%s, %d, %d, %d, %d, %s, %d, %s, %s, %d, %d, %d},  // %s" % (
            case["freq_text"], case["mode"], case["bandwidth"], case["pbt"], case["cw_tone"],
            "true" if case["data_active"] else "false", case["data_bfo"], cpp_double(case["slope"]),
            cpp_double(case["offset"]), coarse, fine, bfo, comment.strip()))

    header = [
        "// Generated by tools/gen_tuning_cases.py - do not edit by hand.",
        "// %d cases; plain double arithmetic gets %d of them wrong" % (len(cases), plain_wrong),
        "// (coarse %d, fine %d, BFO %d)." % tuple(wrong_by_word),
        "// freqKHz, mode, bandwidthHz, pbtHz, cwToneHz, dataBfoActive, dataBfoHz, calSlope,",
        "// calOffset, expected coarse (as sent), fine, BFO",
    ]
    with open(out_path, "w", newline="\n") as f:
        f.write("\n".join(header + lines) + "\n")
    print("%d cases written to %s" % (len(cases), os.path.normpath(out_path)))
    print("plain double arithmetic gets %d of %d cases wrong (coarse %d, fine %d, BFO %d)" % (
        plain_wrong, len(cases), *wrong_by_word))


if __name__ == "__main__":
    main()
