#!/usr/bin/env python3
"""Writes decimal_cases.inc: operations on the calculator's decimal numbers with the results
that Python's decimal module gives for them, as the C++ test reads them.

A result is the exact value when it has at most 28 decimals and a mantissa below 2^96;
otherwise it is rounded, halves to even, at the most decimals (28 at most) whose mantissa
stays below 2^96, and it overflows when even the whole number does not fit. The cases are
generated once with a fixed seed and kept with the tests; run again only to change them:

    python3 tests/calculators/make_decimal_cases.py > tests/calculators/decimal_cases.inc
"""
import random
from decimal import (Decimal, Context, ROUND_HALF_EVEN, DivisionByZero, InvalidOperation,
                     setcontext)

LIMIT = 2**96
EXACT = Context(prec=250, rounding=ROUND_HALF_EVEN, traps=[DivisionByZero, InvalidOperation])
setcontext(EXACT)  # every operation exact, abs() and comparisons included


def fit(value):
    """The value as the calculator holds it, or None on overflow."""
    for scale in range(28, -1, -1):
        rounded = value.quantize(Decimal(1).scaleb(-scale), rounding=ROUND_HALF_EVEN)
        if rounded.scaleb(scale).copy_abs() < LIMIT:
            return rounded
    return None


def plain(value):
    """The plain text: no exponent, no trailing zeros after the point."""
    if value.is_zero():
        return "0"
    text = format(value, "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def operand(rng):
    kind = rng.random()
    if kind < 0.08:
        return rng.choice(["0", "1", "-1", "0.5", "3", "7", "-0.0000000000000000000000000001",
                           "79228162514264337593543950335", "-79228162514264337593543950335",
                           "7922816251426433759354395033.5", "0.0000000000000000000000000001",
                           "1.0000000000000000000000000000", "100000000000000000000"])
    if kind < 0.45:
        digits = rng.randint(1, 8)
    elif kind < 0.75:
        digits = rng.randint(9, 20)
    else:
        digits = rng.randint(21, 29)
    while True:
        mantissa = rng.randrange(10 ** (digits - 1), 10 ** digits)
        if mantissa < LIMIT:
            break
    scale = rng.randint(0, min(28, digits + 3))
    sign = "-" if rng.random() < 0.35 else ""
    text = str(mantissa).rjust(scale + 1, "0")
    if scale:
        text = text[:-scale] + "." + text[-scale:]
    return sign + text


def digit_text(rng):
    """A typed number with more digits than the calculator keeps, or an exact tie."""
    whole = str(rng.randrange(0, 10 ** rng.randint(1, 31)))
    decimals = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 45)))
    if rng.random() < 0.2 and len(decimals) > 28:
        decimals = decimals[:28] + "5" + "0" * rng.randint(0, 4)
    sign = "-" if rng.random() < 0.3 else ""
    return sign + whole + ("." + decimals if decimals else "")


def main():
    rng = random.Random(19)
    operations = {"+": EXACT.add, "-": EXACT.subtract, "x": EXACT.multiply, "/": EXACT.divide}
    print("// Written by make_decimal_cases.py: operation, operands and Python's result.")
    for op, apply in operations.items():
        for _ in range(110):
            a, b = operand(rng), operand(rng)
            if op == "/" and rng.random() < 0.03:
                b = "0"
            try:
                result = fit(apply(Decimal(a), Decimal(b)))
                expected = "Overflow" if result is None else plain(result)
            except DivisionByZero:
                expected = "DivideByZero"
            except InvalidOperation:  # 0 / 0
                expected = "DivideByZero"
            print('{"%s", "%s", "%s", "%s"},' % (op, a, b, expected))
    for _ in range(80):
        text = digit_text(rng)
        result = fit(Decimal(text))
        print('{"read", "%s", "", "%s"},' % (text, "Overflow" if result is None else plain(result)))


main()
