#!/usr/bin/python3
"""Our extraction against a scraper's: lxml reading the same ten fields from the same page text.

    bench/core/lxml_peer.py [build/bin/extraction_bench]   (Debian's python3 with python3-lxml)

Both sides get the 500-event page the benchmark generates; each side's best time per page
(CPU time for ours, the best of several rounds for lxml) is printed, then our speed against
lxml's as a ratio (target: at least 50).
"""
import json
import subprocess
import sys
import tempfile
import time

import lxml.html

EVENTS = 500


def cell(row, css_class):
    for td in row.iter("td"):
        if css_class in (td.get("class") or "").split():
            return td
    return None


def value(td, inner):
    if td is None:
        return ""
    if inner:
        children = list(td)
        td = children[0] if children else td
    return (td.text or "").replace("\xa0", " ").strip()


def scrape(page_bytes):
    """What a scraper writes: parse, then read each event row's cells."""
    document = lxml.html.document_fromstring(page_bytes.decode("cp1251"))
    rows = []
    number = 0
    for row in document.iter("tr"):
        link = row.find(".//a[@class='ec_b_11']")
        if link is None:
            continue
        number += 1
        importance = cell(row, "ec_td_importance")
        marker = importance.find("span").get("class")[-1] if importance is not None else ""
        rows.append([str(number), value(cell(row, "ec_td_date"), False),
                     value(cell(row, "ec_td_time"), False), value(cell(row, "ec_td_currency"), False),
                     marker, link.text_content(), value(cell(row, "ec_td_actual"), True),
                     value(cell(row, "ec_td_forecast"), False), value(cell(row, "ec_td_previous"), True)])
    return rows


def lxml_seconds(page_bytes, rounds=30):
    best = float("inf")
    for _ in range(rounds):
        start = time.process_time()
        rows = scrape(page_bytes)
        best = min(best, time.process_time() - start)
    assert len(rows) == EVENTS, len(rows)
    return best


def our_seconds(bench):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([bench, f"--benchmark_filter=^BM_Extraction/{EVENTS}$",
                        f"--benchmark_out={out.name}", "--benchmark_out_format=json",
                        "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
                       check=True, capture_output=True)
        report = json.load(open(out.name))
    times = [b["cpu_time"] for b in report["benchmarks"] if b.get("aggregate_name") == "median"]
    return times[0] * 1e-9


def main():
    bench = sys.argv[1] if len(sys.argv) > 1 else "build/bin/extraction_bench"
    with tempfile.NamedTemporaryFile(suffix=".html") as page:
        subprocess.run([bench, "--write-page", str(EVENTS), page.name], check=True)
        page_bytes = open(page.name, "rb").read()
    theirs = lxml_seconds(page_bytes)
    ours = our_seconds(bench)
    print(f"lxml: {theirs * 1e3:.2f} ms per {EVENTS}-event page ({len(page_bytes)} bytes)")
    print(f"newsbell: {ours * 1e3:.3f} ms per page")
    print(f"newsbell/lxml speed ratio: {theirs / ours:.1f}x (target: at least 50x)")


if __name__ == "__main__":
    main()
