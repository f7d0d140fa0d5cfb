#!/usr/bin/env python3
"""Recomputes the envelope statistics of NAME.strength.csv from the file's own points.

    envelope_statistics_check.py PROGRAM DATA_DIR

Runs PROGRAM with --csv --html (and once more with --regional) on every *.DAT of DATA_DIR in a
temporary folder. For every case of every strength CSV it refits the points with Python's
statistics module, takes Student's t from the regularized incomplete beta function, and
compares every figure with the file's within 1e-5 relative. A case without statistics must name
the reason its points give. No CSV cell and no page may hold a NaN or an infinity.
Exit status 0 when everything agrees, 1 otherwise.
"""
import csv
import math
import pathlib
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile

RELATIVE = 1e-5
REGIONAL_SHARE = 1.0 - 0.75
NONFINITE = re.compile(r"(?<![A-Za-z])(nan|inf|infinity)(?![A-Za-z])", re.IGNORECASE)


def as_float32(text):
    """The float that the program wrote as its shortest decimal text."""
    return struct.unpack("f", struct.pack("f", float(text)))[0]


def incomplete_beta(a, b, x):
    """Regularized incomplete beta I_x(a, b) by its continued fraction (modified Lentz)."""
    if x <= 0.0:
        return 0.0
    if x >= 1.0:
        return 1.0
    if x > (a + 1.0) / (a + b + 2.0):
        return 1.0 - incomplete_beta(b, a, 1.0 - x)
    front = math.exp(math.lgamma(a + b) - math.lgamma(a) - math.lgamma(b)
                     + a * math.log(x) + b * math.log(1.0 - x)) / a
    tiny = 1e-300
    f, c, d = 1.0, 1.0, 0.0
    for i in range(0, 400):
        m = i // 2
        if i == 0:
            numerator = 1.0
        elif i % 2 == 0:
            numerator = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
        else:
            numerator = -((a + m) * (a + b + m) * x) / ((a + 2 * m) * (a + 2 * m + 1))
        d = 1.0 + numerator * d
        d = tiny if abs(d) < tiny else d
        d = 1.0 / d
        c = 1.0 + numerator / c
        c = tiny if abs(c) < tiny else c
        f *= c * d
        if abs(1.0 - c * d) < 1e-15:
            break
    return front * (f - 1.0)


def students_t_cdf(t, nu):
    tail = 0.5 * incomplete_beta(nu / 2.0, 0.5, nu / (nu + t * t))
    return 1.0 - tail if t >= 0 else tail


def students_t_95(nu):
    low, high = 0.0, 1000.0
    for _ in range(200):
        mid = (low + high) / 2.0
        if students_t_cdf(mid, nu) < 0.95:
            low = mid
        else:
            high = mid
    return (low + high) / 2.0


def expected_statistics(points, regional):
    """The figures of one case, or the reason it has none."""
    x = [p[0] for p in points]
    y = [p[1] for p in points]
    n = len(points)
    if n < 3:
        return "too_few_points", {}
    if not all(math.isfinite(v) for v in x + y):
        return "nonfinite_stress", {}
    if len(set(x)) == 1:
        return "equal_normal_stresses", {}
    b, a = statistics.linear_regression(x, y)
    residuals = [yi - (a + b * xi) for xi, yi in zip(x, y)]
    ss_res = math.fsum(r * r for r in residuals)
    s = math.sqrt(ss_res / (n - 2))
    if not s > 1e-6 * max(abs(v) for v in y):
        return "exact_fit", {}
    mean_x = statistics.fmean(x)
    sxx = math.fsum((xi - mean_x) ** 2 for xi in x)
    se_a = s * math.sqrt(1.0 / n + mean_x ** 2 / sxx)
    se_b = s / math.sqrt(sxx)
    cov = -mean_x * s * s / sxx
    (b0,) = statistics.linear_regression(x, y, proportional=True)[:1]
    ss_res0 = math.fsum((yi - b0 * xi) ** 2 for xi, yi in zip(x, y))
    t = students_t_95(n - 2)
    extra = REGIONAL_SHARE * s * s if regional else 0.0
    low = [a + b * xi - t * math.sqrt(se_a ** 2 + xi ** 2 * se_b ** 2 + 2 * xi * cov + extra)
           for xi in x]
    tan_k, c_k = statistics.linear_regression(x, low)
    figures = {
        "CFIT": a, "TANFIT": b, "PHIFIT": math.degrees(math.atan(b)), "SFIT": s,
        "RSQFIT": statistics.correlation(x, y) ** 2, "SECFIT": se_a, "SETAN": se_b,
        "SEPHI": math.degrees(se_b / (1.0 + b * b)), "COVFIT": cov,
        "SIGMIN": min(x), "SIGMAX": max(x), "TANZRO": b0,
        "SETANZ": math.sqrt(ss_res0 / (n - 1)) / math.sqrt(math.fsum(v * v for v in x)),
        "PHIZRO": math.degrees(math.atan(b0)),
        "RSQZRO": 1.0 - ss_res0 / math.fsum(v * v for v in y), "TSTUD": t, "CK": c_k,
        "TANK": tan_k, "PHIK": math.degrees(math.atan(tan_k)),
    }
    per_point = {"RESID": residuals, "TAULOW": low}
    return "given", (figures, per_point)


def close(found, wanted):
    return abs(found - wanted) <= RELATIVE * max(abs(wanted), 1e-12)


def column(header, name):
    """The index of the column whose heading is NAME or begins with "NAME ["."""
    for k, heading in enumerate(header):
        if heading == name or heading.startswith(name + " ["):
            return k
    raise KeyError(name)


def check_file(path, regional, faults):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    header, body = rows[0], rows[1:]
    for row in body:
        for cell in row:
            if NONFINITE.search(cell):
                faults.append(f"{path.name}: cell {cell!r}")
    cases = [r for r in body if not r[column(header, "test")]]
    points = [r for r in body if r[column(header, "test")]]
    checked = 0
    for case_row in cases:
        case = case_row[column(header, "case")]
        where = f"{path.name} case {case}"
        own = [r for r in points if r[column(header, "case")] == case]
        xy = [(as_float32(r[column(header, "SIGA")]), as_float32(r[column(header, "TAUA")]))
              for r in own]
        if case_row[column(header, "regional")] != ("1" if regional else "0"):
            faults.append(f"{where}: regional {case_row[column(header, 'regional')]}")
        if int(case_row[column(header, "NFIT")]) != len(xy):
            faults.append(f"{where}: NFIT {case_row[column(header, 'NFIT')]}, {len(xy)} points")
        reason, expected = expected_statistics(xy, regional)
        if case_row[column(header, "statistics")] != reason:
            faults.append(f"{where}: {case_row[column(header, 'statistics')]}, expected {reason}")
            continue
        if reason != "given":
            for name in ("CFIT", "CK", "PHIK"):
                if case_row[column(header, name)]:
                    faults.append(f"{where}: {name} given without statistics")
            continue
        figures, per_point = expected
        for name, wanted in figures.items():
            found = float(case_row[column(header, name)])
            checked += 1
            if not close(found, wanted):
                faults.append(f"{where}: {name} {found!r}, recomputed {wanted!r}")
        for name, wanted in per_point.items():
            for r, value in zip(own, wanted):
                found = float(r[column(header, name)])
                checked += 1
                if not close(found, value):
                    faults.append(f"{where} test {r[column(header, 'test')]}: {name} "
                                  f"{found!r}, recomputed {value!r}")
    return checked


def main():
    program, data_dir = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])
    faults = []
    # Tabulated 0.95 quantiles of Student's t.
    for nu, t in ((1, 6.3138), (2, 2.9200), (5, 2.0150), (10, 1.8125), (38, 1.6860)):
        if abs(students_t_95(nu) - t) > 5e-4:
            faults.append(f"Student's t on {nu}: {students_t_95(nu)}, tabulated {t}")
    checked = files = 0
    with tempfile.TemporaryDirectory() as work:
        for regional in (False, True):
            folder = pathlib.Path(work) / ("regional" if regional else "plain")
            folder.mkdir()
            samples = sorted(data_dir.glob("*.DAT"))
            for sample in samples:
                shutil.copy(sample, folder)
            options = ["-q", "--csv", "--html"] + (["--regional"] if regional else [])
            run = subprocess.run([str(program)] + options + [s.name for s in samples],
                                 cwd=folder, capture_output=True)
            if run.returncode > 1:
                faults.append(f"{program} {options}: exit status {run.returncode}")
            for page in folder.glob("*.html"):
                for match in NONFINITE.finditer(page.read_text(encoding="utf-8")):
                    faults.append(f"{page.name}: {match.group(0)!r}")
            for path in sorted(folder.glob("*.strength.csv")):
                checked += check_file(path, regional, faults)
                files += 1
    if files == 0 or checked == 0:
        faults.append(f"no statistics checked ({files} strength files)")
    for fault in faults:
        print(fault)
    print(f"{files} strength files, {checked} figures recomputed, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
