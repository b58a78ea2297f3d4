#!/usr/bin/env python3
"""Writes old_route.830, the 1998 cross sections of the Amite River left bank
levee in the fixed-column format. Every field is placed at its exact columns
(1-based, inclusive), so the layout is right by construction:

  header   T01 file name 20-40, order 50, horizontal datum 74-79
           T02 job 20-27, units 50-55, vertical datum 74-81
           T03 survey date 20-30, zone 50-61, epoch 74-81
           T04 20-22 and 50-79; T05 contractor, T06 location, T07 title from 20
  A01      geodetic azimuth 36-44 (DDDMMSS.S), station 48-56, name 64-75,
           start E 81-92, start N 93-104, stop E 105-116, stop N 117-128
  A02      "PBM:" in 1-17 for a permanent benchmark, benchmark 19-42,
           measured elevation 54-59, gage 71-76, water surface 86-92,
           date 101-111, time 120-123
  data     point k = 0..3: offset 13+17k..19+17k, elevation 20+17k..26+17k,
           code 27+17k..29+17k, easting 81+24k..92+24k, northing 93+24k..104+24k;
           an offset of 9999999 ends the points and the block

    python3 samples/tools/make_830.py
"""
import os
import random
import sys

sys.path.insert(0, os.path.dirname(__file__))
from survey_site import (LEVEE_BASELINE, FixedLine, convergence, grid_azimuth,  # noqa: E402
                         station_text, write_crlf)

BASE = LEVEE_BASELINE
TERMINATOR = "9999999"


def header_lines(file_name, job, survey_date, title):
    """T01-T07, shared with the PRO profile (same records, same columns)."""
    return [
        FixedLine().put(1, "T01").put(5, "FILENAME").put(20, file_name, 21).put(42, "ORDER")
        .put(50, "3").put(63, "HOR DATUM").put(74, "NAD83", 6).text(),
        FixedLine().put(1, "T02").put(5, "JOB").put(20, job, 8).put(42, "UNITS")
        .put(50, "FEET", 6).put(63, "VERT DATUM").put(74, "NAVD88", 8).text(),
        FixedLine().put(1, "T03").put(5, "SURVEY DATE").put(20, survey_date, 11).put(42, "ZONE")
        .put(50, "1702", 12).put(63, "EPOCH").put(74, "1994", 8).text(),
        FixedLine().put(1, "T04").put(5, "REACH").put(20, "002", 3).put(42, "STREAM")
        .put(50, "AMITE RIVER LEFT BANK", 30).text(),
        FixedLine().put(1, "T05").put(5, "CONTRACTOR").put(20, "GULF SOUTH ENGINEERS, INC.").text(),
        FixedLine().put(1, "T06").put(5, "LOCATION").put(20, "AMITE RIVER AT PORT VINCENT, LIVINGSTON PARISH").text(),
        FixedLine().put(1, "T07").put(5, "TITLE").put(20, title).text(),
    ]


def azimuth_dddmmss(degrees):
    """Degrees -> DDDMMSS.S, the packed form the A01 record holds."""
    tenths = round((degrees % 360.0) * 36000)
    d, rest = divmod(tenths, 36000)
    m, s = divmod(rest, 600)
    return f"{d:03d}{m:02d}{s // 10:02d}.{s % 10}"


def num(value, decimals):
    return f"{value:.{decimals}f}"


# Offset (positive towards the river), code, elevation in 1998.
SHOTS_1998 = [
    (-250, "GND", 11.4), (-150, "GND", 11.7), (-62, "TOE", 12.1), (-36, "LEV", 19.8),
    (-9, "LEV", 27.6), (0, "CL", 27.8), (9, "LEV", 27.5), (36, "LEV", 19.9),
    (62, "TOE", 12.2), (160, "GND", 10.9), (275, "TOB", 9.6), (316, "WE", 3.12),
    (330, "BOT", -2.8),
]

# Station, benchmark (name, permanent), time of the gage reading, water surface.
SECTIONS = [
    (250, ("BM AMITE 3", True), "0930", 3.12),
    (750, ("BM AMITE 3", True), "1015", 3.12),
    (1250, ("TBM 4 NAIL IN PP", False), "1120", 3.14),
    (1750, ("TBM 4 NAIL IN PP", False), "1120", 3.14),
    (2750, ("BM AMITE 5", True), "1415", 3.09),
    (3250, ("BM AMITE 5", True), "1505", 3.09),
]


def a01_line(seq, station, start, stop):
    geodetic = grid_azimuth(*start, *stop) + convergence(*start)
    return (FixedLine().put(1, f"XS{seq:04d}").put(9, "A01").put(13, "RANGE")
            .put(36, azimuth_dddmmss(geodetic), 9).put(48, num(station, 2), 9, right=True)
            .put(64, "XS " + station_text(station).replace(".00", ""), 12)
            .put(81, num(start[0], 3), 12, right=True).put(93, num(start[1], 3), 12, right=True)
            .put(105, num(stop[0], 3), 12, right=True).put(117, num(stop[1], 3), 12, right=True).text())


def a02_line(seq, benchmark, measured, time, wse):
    name, permanent = benchmark
    return (FixedLine().put(1, f"XS{seq:04d}").put(9, "A02").put(13, "PBM:" if permanent else "TBM:")
            .put(19, name, 24).put(45, "ELEV").put(54, num(measured, 2), 6, right=True)
            .put(62, "GAGE").put(71, "AMITPV", 6).put(78, "WS").put(86, num(wse, 2), 7, right=True)
            .put(94, "DATE").put(101, "06/22/1998", 11).put(113, "TIME").put(120, time, 4).text())


def data_lines(seq, points):
    """Four points a line; the block ends with a 9999999 offset, on the last
    line when it has room, else on a line of its own."""
    lines = []
    for n in range(0, len(points) + 1, 4):
        group = points[n:n + 4]
        line = FixedLine().put(1, f"XS{seq:04d}").put(9, f"D{n // 4 + 1:02d}")
        for k, (offset, z, code, x, y) in enumerate(group):
            line.put(13 + 17 * k, num(offset, 1), 7, right=True)
            line.put(20 + 17 * k, num(z, 2), 7, right=True)
            line.put(27 + 17 * k, code, 3)
            line.put(81 + 24 * k, num(x, 3), 12, right=True)
            line.put(93 + 24 * k, num(y, 3), 12, right=True)
        if len(group) < 4:
            line.put(13 + 17 * len(group), TERMINATOR, 7)
            lines.append(line.text())
            return lines
        lines.append(line.text())
    return lines


def main():
    rng = random.Random(1998)
    lines = header_lines("AMITE98.830", "J98-0412", "06/22/1998", "AMITE RIVER OLD ROUTE CROSS SECTIONS 1998")
    measured = {"BM AMITE 3": 25.43, "TBM 4 NAIL IN PP": 14.87, "BM AMITE 5": 22.16}
    for seq, (station, benchmark, time, wse) in enumerate(SECTIONS, start=1):
        start = BASE.offset_point(station, -260)
        stop = BASE.offset_point(station, 340)
        lines.append(a01_line(seq, station, start, stop))
        lines.append(a02_line(seq, benchmark, measured[benchmark[0]], time, wse))
        shots = SHOTS_1998 if seq != 4 else SHOTS_1998[:12]  # one section stops at the water edge
        points = []
        for offset, code, elevation in shots:
            d = offset + rng.uniform(-1.5, 1.5)
            x, y = BASE.offset_point(station, d)
            z = wse if code == "WE" else elevation + rng.uniform(-0.15, 0.15)
            points.append((d, z, code, x, y))
        lines += data_lines(seq, points)
    write_crlf("old_route.830", lines)


if __name__ == "__main__":
    main()
