#!/usr/bin/env python3
"""Writes control.83, the adjusted control traverse along the levee toe, as
the fixed-column traverse report: 25 header lines (job and date on line 1,
title on line 2, field book on line 3, datum on line 14, zone on line 16)
followed by four lines per station. Every value is placed at its exact
columns (1-based, inclusive):

  line 1  "(NNN)" 1-5, name 6-45, back geodetic azimuth 47-64,
          grid scale factor 68-81, convergence 85-97
  line 2  station 1-13, adjusted angle 16-26, adjusted distance 30-43,
          forward geodetic azimuth 47-64, grid distance 68-81,
          grid azimuth 85-97, northing 100-114, easting 116-131
  line 3  measured angle 16-26, measured distance 30-43,
          latitude 100-114, longitude 116-131
  line 4  blank

Angles are D-MM-SS.SS; longitudes are west. The geographic positions, scale
factors and convergences come from the Louisiana South projection, so the
report is consistent with its own coordinates.

    python3 samples/tools/make_traverse.py
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(__file__))
from survey_site import (LEVEE_BASELINE, FixedLine, convergence, dms, grid_azimuth,  # noqa: E402
                         grid_scale_factor, station_text, to_geographic, write_crlf)

NAMES = [
    "CP-1 5/8 IN IRON ROD W/ CAP", "CP-2 5/8 IN IRON ROD W/ CAP", "CP-3 MAG NAIL IN CONC", "CP-4 5/8 IN IRON ROD",
    "CP-5 5/8 IN IRON ROD W/ CAP", "CP-6 PK NAIL IN ASPHALT", "CP-7 5/8 IN IRON ROD W/ CAP", "CP-8 5/8 IN IRON ROD",
    "CP-9 MAG NAIL IN HEADWALL", "CP-10 5/8 IN IRON ROD W/ CAP", "CP-11 5/8 IN IRON ROD", "CP-12 BRASS DISK IN CONC",
]


def header(count):
    lines = [""] * 25
    lines[0] = (FixedLine().put(1, "JOB NO").put(8, "J-11-0187 AMITE RIVER LEFT BANK LEVEE CONTROL", 50)
                .put(100, "DATE OF ADJUSTMENT").put(122, "03/10/2011", 12).text())
    lines[1] = FixedLine().put(1, "TRAVERSE").put(21, "LEVEE TOE CONTROL TRAVERSE CP-1 TO CP-12", 80).text()
    lines[2] = FixedLine().put(1, "FIELD BK").put(10, "LB-2229 PAGES 2-11", 80).text()
    lines[4] = "ADJUSTED BY THE COMPASS RULE"
    lines[5] = f"NUMBER OF STATIONS   {count}"
    lines[6] = "ANGULAR MISCLOSURE   0-00-06.0    ALLOWABLE   0-00-17.3"
    lines[7] = "LINEAR MISCLOSURE    0.041 FT     RATIO OF PRECISION 1 : 98,400"
    lines[9] = "DISTANCES ARE HORIZONTAL GROUND DISTANCES REDUCED TO THE GRID BY THE GRID SCALE FACTOR"
    lines[10] = "ANGLES ARE TURNED TO THE RIGHT FROM THE BACKSIGHT"
    lines[13] = "HORIZONTAL DATUM     NORTH AMERICAN DATUM OF 1983 (2011) EPOCH 2010.00"
    lines[15] = "COORDINATE SYSTEM    LOUISIANA SOUTH ZONE 1702, US SURVEY FEET"
    lines[19] = (FixedLine().put(1, "STATION").put(16, "ANGLE").put(30, "DISTANCE").put(47, "GEODETIC AZIMUTH")
                 .put(68, "GRID DIST").put(85, "GRID AZIMUTH").put(100, "NORTHING").put(116, "EASTING").text())
    lines[20] = (FixedLine().put(1, "(ID) NAME").put(47, "BACK AZIMUTH").put(68, "SCALE FACTOR")
                 .put(85, "CONVERGENCE").put(100, "LATITUDE").put(116, "LONGITUDE").text())
    lines[21] = FixedLine().put(16, "MEASURED").put(30, "MEASURED").text()
    lines[22] = "-" * 131
    return lines


def main():
    rng = random.Random(1983)
    # Stations along the landside toe, about 90 ft right of the baseline.
    stations = [-150 + k * 370 + rng.uniform(-25, 25) for k in range(12)]
    points = [LEVEE_BASELINE.offset_point(s, -90 + rng.uniform(-8, 8)) for s in stations]
    # Azimuth marks before the first and after the last station.
    back_mark = LEVEE_BASELINE.offset_point(-1200, -95)
    ahead_mark = LEVEE_BASELINE.offset_point(5200, -95)

    lines = header(len(points))
    chainage = 0.0
    for i, (x, y) in enumerate(points):
        back = points[i - 1] if i > 0 else back_mark
        ahead = points[i + 1] if i + 1 < len(points) else ahead_mark
        gamma = convergence(x, y)
        k = grid_scale_factor(x, y)
        back_grid = grid_azimuth(x, y, *back)
        ahead_grid = grid_azimuth(x, y, *ahead)
        grid_distance = math.hypot(ahead[0] - x, ahead[1] - y)
        ground_distance = grid_distance / k
        angle = (ahead_grid - back_grid) % 360.0
        lat, lon = to_geographic(x, y)

        line1 = (FixedLine().put(1, f"({i + 1:03d})").put(7, NAMES[i], 39)
                 .put(47, dms((back_grid + gamma) % 360.0, 2), 18).put(68, f"{k:.8f}", 14)
                 .put(85, dms(gamma, 2), 13))
        line2 = (FixedLine().put(1, station_text(chainage), 13).put(16, dms(angle, 1), 11)
                 .put(30, f"{ground_distance:.3f}", 14, right=True).put(47, dms((ahead_grid + gamma) % 360.0, 2), 18)
                 .put(68, f"{grid_distance:.3f}", 14, right=True).put(85, dms(ahead_grid, 2), 13)
                 .put(100, f"{y:.3f}", 15, right=True).put(116, f"{x:.3f}", 16, right=True))
        measured_angle = angle + rng.uniform(-3, 3) / 3600
        line3 = (FixedLine().put(16, dms(measured_angle, 1), 11)
                 .put(30, f"{ground_distance + rng.uniform(-0.008, 0.008):.3f}", 14, right=True)
                 .put(100, dms(lat, 5), 15).put(116, dms(-lon, 5), 16))
        lines += [line1.text(), line2.text(), line3.text(), ""]
        chainage += grid_distance if i + 1 < len(points) else 0.0
    lines.append("END OF TRAVERSE REPORT")
    write_crlf("control.83", lines)


if __name__ == "__main__":
    main()
