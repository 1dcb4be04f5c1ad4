#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""talvex-check --html against talvex-check --json, read with an HTML parser.

For each input: the page's elements nest properly and load nothing from
outside; it holds every finding of the JSON output, with the console texts,
and no other; the summary line matches; each Type has one map (an SVG or a
sentence) and each SVG has as many overlap marks as the JSON reports range
overlaps for its Type. An input that cannot be read gives a page with the
reason. Usage: check_html_report.py TALVEX_CHECK OUTPUT_FOLDER INPUT...
"""
import collections
import json
import os
import subprocess
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.problems = []
        self.findings = []  # dicts of the finding's parts
        self.svgs = []  # (series, type, overlap marks, ranges)
        self.types = 0
        self.summary = None
        self.failure = None
        self._part = None  # the finding part or paragraph whose text is read
        self._text = []

    def classes(self, attrs):
        return (dict(attrs).get("class") or "").split()

    def handle_starttag(self, tag, attrs):
        self.opened(tag, attrs)
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.opened(tag, attrs)

    def opened(self, tag, attrs):
        for name, value in attrs:
            if name in ("src", "href", "xlink:href") or name.startswith("on"):
                self.problems.append(f"<{tag} {name}={value!r}> reaches outside the page")
        if tag in ("script", "link", "iframe", "object", "img"):
            self.problems.append(f"<{tag}> in a self-contained page")
        cls = self.classes(attrs)
        if tag == "div" and "finding" in cls:
            self.findings.append({"class": cls[1] if len(cls) > 1 else None})
        if tag == "div" and "type" in cls:
            self.types += 1
        if tag == "svg" and "range-map" in cls:
            a = dict(attrs)
            self.svgs.append([a.get("data-series"), a.get("data-type"), 0, 0])
        if tag == "rect" and "overlap" in cls:
            self.svgs[-1][2] += 1
        if tag == "g" and "range" in cls:
            self.svgs[-1][3] += 1
        for part in ("severity", "table", "check", "where", "message", "change", "summary", "failure"):
            if part in cls and tag in ("span", "p"):
                self._part, self._text = part, []

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.stack or self.stack[-1] != tag:
            self.problems.append(f"</{tag}> closes {self.stack[-1:] or 'nothing'}")
        else:
            self.stack.pop()
        if self._part and tag in ("span", "p"):
            text = "".join(self._text)
            if self._part == "summary":
                self.summary = text
            elif self._part == "failure":
                self.failure = text
            else:
                self.findings[-1][self._part] = text
            self._part = None

    def handle_data(self, data):
        if self._part:
            self._text.append(data)


def code(text):
    return text if text and not text[0].isspace() and not text[-1].isspace() else f'"{text}"'


def location_text(location):
    parts = []
    for key, label in (("series", "Series "), ("type", "Type "), ("bore", "Bore ")):
        if location.get(key):
            parts.append(label + code(location[key]))
    if location.get("sortId"):
        parts.append("SortID " + location["sortId"])
    if location.get("path"):
        parts.append(location["path"])
    return " / ".join(parts)


def counted(n, one, many):
    return f"{n} {one if n == 1 else many}"


def check(program, folder, given, index):
    out = os.path.join(folder, f"report-{index}.html")
    if os.path.exists(out):
        os.remove(out)
    run = subprocess.run([program, "--json", given], capture_output=True, timeout=120)
    report = json.loads(run.stdout.decode("utf-8"))
    html_run = subprocess.run([program, "--html", out, given], capture_output=True, timeout=120)
    problems = []
    if html_run.returncode != run.returncode:
        problems.append(f"exit status {html_run.returncode} with --html, {run.returncode} with --json")
    page = Page()
    with open(out, encoding="utf-8", newline="") as f:  # CR LF in a range text stays
        page.feed(f.read())
    page.close()
    problems += page.problems
    if page.stack:
        problems.append(f"unclosed elements {page.stack}")
    if "failure" in report:
        if page.failure != report["failure"]:
            problems.append(f"failure {page.failure!r}, JSON says {report['failure']!r}")
        return problems

    want = collections.Counter()
    for f in report["findings"]:
        want[(f["severity"], f["severity"], f["table"], f"[{f['check']}]", location_text(f["location"]) or None,
              f["message"], "Change: " + f["change"] if f["change"] else None)] += 1
    have = collections.Counter()
    for f in page.findings:
        have[(f.get("class"), f.get("severity"), f.get("table"), f.get("check"), f.get("where"),
              f.get("message"), f.get("change"))] += 1
    for finding in (want - have):
        problems.append(f"finding missing from the page: {finding}")
    for finding in (have - want):
        problems.append(f"finding on the page but not in the JSON: {finding}")

    s = report["summary"]
    summary = ", ".join([counted(s["errors"], "error", "errors"), counted(s["warnings"], "warning", "warnings"),
                         counted(s["notes"], "note", "notes")])
    if page.summary != summary:
        problems.append(f"summary {page.summary!r}, JSON says {summary!r}")

    overlaps = collections.Counter((f["location"].get("series"), f["location"].get("type"))
                                   for f in report["findings"] if f["check"] == "range-overlap")
    seen = set()
    for series, type_, marks, ranges in page.svgs:
        if (series, type_) in seen:
            problems.append(f"two maps for Series {series} / Type {type_}")
        seen.add((series, type_))
        if marks != overlaps[(series, type_)]:
            problems.append(f"Series {series} / Type {type_}: {marks} overlap marks, "
                            f"{overlaps[(series, type_)]} range-overlap findings")
    if len(page.svgs) > page.types:
        problems.append(f"{len(page.svgs)} maps for {page.types} Types")
    return problems


def main():
    program, folder, inputs = sys.argv[1], sys.argv[2], sys.argv[3:]
    os.makedirs(folder, exist_ok=True)
    failed = False
    for index, given in enumerate(inputs):
        problems = check(program, folder, given, index)
        print(f"{given}: {'ok' if not problems else f'{len(problems)} problems'}")
        for problem in problems[:20]:
            print("  " + problem)
        failed |= bool(problems)
    if not inputs:
        print("no input given")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
