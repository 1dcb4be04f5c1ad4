# SPDX-License-Identifier: MIT
"""The component list (packaging/licences/components.tsv) and the licence
rules the artefacts are held to. Used by tools/check-licences and
tools/windows/pack-licences."""

import csv
import re
from dataclasses import dataclass
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
COMPONENTS = REPO / "packaging" / "licences" / "components.tsv"

# Licences that ask nothing of how the code is linked.
PERMISSIVE = {
    "MIT", "MIT-open-group", "X11", "HPND", "BSD-2-Clause", "BSD-3-Clause", "ISC",
    "Apache-2.0", "Zlib", "Libpng", "libpng-2.0", "IJG", "FTL", "CC0-1.0", "blessing",
    "BSL-1.0", "Unicode-DFS-2016", "ICU", "curl", "AFL-2.1", "LicenseRef-public-domain", "LicenseRef-ICC",
}
# Weak copyleft: allowed only in a library of its own, linked as one.
SHARED_ONLY = {
    "LGPL-2.0-or-later", "LGPL-2.1-only", "LGPL-2.1-or-later", "LGPL-3.0-only", "LGPL-3.0-or-later",
}
# GPL code under an exception that lifts its terms from the programs using it.
EXCEPTIONS = {"GCC-exception-3.1"}
GPL_WITH_EXCEPTION = {"GPL-3.0-only", "GPL-3.0-or-later"}


@dataclass
class Component:
    name: str
    where: str
    files: list
    licence: str
    linkage: str
    source: str
    version: str
    texts: list
    line: int


def read_components(path=COMPONENTS):
    rows = []
    with open(path, encoding="utf-8") as f:
        lines = [(n, l) for n, l in enumerate(f, 1) if l.strip() and not l.startswith("#")]
    reader = csv.reader((l for _, l in lines), delimiter="\t")
    header = next(reader)
    for (number, _), fields in zip(lines[1:], reader):
        if len(fields) != len(header):
            raise ValueError(f"{path}:{number}: {len(fields)} fields, expected {len(header)}")
        row = dict(zip(header, fields))
        split = lambda v: [] if v == "-" else v.split(",")
        rows.append(Component(row["component"], row["where"], split(row["files"]), row["licence"],
                              row["linkage"], row["source"], row["version"], split(row["texts"]), number))
    return rows


def _tokens(expression):
    return re.findall(r"\(|\)|[A-Za-z0-9.+:-]+", expression)


def licence_problem(expression, linkage):
    """None when a component under this SPDX expression may be shipped or
    linked this way, else the reason. "A OR B" needs one allowed choice,
    "A AND B" both."""
    tokens = _tokens(expression)
    position = 0

    def term():
        nonlocal position
        if position >= len(tokens):
            return "the expression ends early"
        token = tokens[position]
        position += 1
        if token == "(":
            problem = either()
            if position >= len(tokens) or tokens[position] != ")":
                return "unbalanced parentheses"
            position += 1
            return problem
        if position + 1 < len(tokens) and tokens[position] == "WITH":
            exception = tokens[position + 1]
            position += 2
            if exception in EXCEPTIONS and token in GPL_WITH_EXCEPTION:
                return None
            return f"{token} WITH {exception} is not an allowed exception"
        if token in PERMISSIVE:
            return None
        if token in SHARED_ONLY:
            return None if linkage == "shared" else f"{token} is allowed only as a shared library, not {linkage}"
        return f"{token} is not an allowed licence"

    def both():
        nonlocal position
        problem = term()
        while position < len(tokens) and tokens[position] == "AND":
            position += 1
            problem = problem or term()
        return problem

    def either():
        nonlocal position
        problem = both()
        while position < len(tokens) and tokens[position] == "OR":
            position += 1
            other = both()
            problem = None if problem is None or other is None else problem
        return problem

    problem = either()
    if problem is None and position != len(tokens):
        return f"cannot read the expression past '{tokens[position]}'"
    return problem
