"""Command line shared by the model generators.

Every generator prints a system description of one member of a scalable
family, or with --property the property whose check explores the member's
whole state space (its target is never reached).
"""

import argparse
import sys


def parser(description, smallest=2):
    """An argument parser with the size N (at least `smallest`) and --property."""

    def size(text):
        value = int(text)
        if value < smallest:
            raise argparse.ArgumentTypeError(f"N must be at least {smallest}")
        return value

    result = argparse.ArgumentParser(description=description)
    result.add_argument("n", metavar="N", type=size, help="number of processes")
    result.add_argument(
        "--property",
        action="store_true",
        help="print the property to check instead of the model",
    )
    return result


def emit(arguments, model, parts):
    """Prints the model, or with --property the property never(parts)."""
    if arguments.property:
        sys.stdout.write(never(parts(arguments)) + "\n")
    else:
        sys.stdout.write(model(arguments))


def never(parts):
    """The invariance property that the formulas `parts` never hold together.

    Each part on its own is reachable in the generated models, so the property
    is not true for want of a reachable part.
    """
    return "A[] not (" + " and ".join(f"({p})" if " " in p else p for p in parts) + ")"


def block(lines, indent="  "):
    """Joins edge or location lines, one per line, separated by commas."""
    return (",\n" + indent).join(lines)
