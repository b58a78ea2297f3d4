#!/usr/bin/env python3
"""Writes a large EM survey of cross sections and the same points as CSV.

    make_survey_points.py SECTIONS POINTS_PER_SECTION OUT.em [OUT.csv]

Sections run east-west, 10 ft apart from north to south; their points are
5 ft apart along the range line. The CSV holds one row per point with the
values the driver's CrossSectionPoints layer reports for it (X, Y, Z and the
point attributes), plus a .csvt file naming the column types, so GDAL's CSV
driver converts the same numbers the survey reader does.
"""
import sys

X0, Y0 = 3390000.0, 690000.0
CODES = ("GND", "TOE", "LEV", "CL", "TOB", "WE", "BOT")


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    sections, per_section = int(sys.argv[1]), int(sys.argv[2])
    em_path = sys.argv[3]
    csv_path = sys.argv[4] if len(sys.argv) == 5 else None
    width = 5.0 * (per_section - 1)
    with open(em_path, "w", newline="\n") as em:
        em.write("#H00 EM09\n#H01 BENCH.EM\n#H02 3/14/2011\n#H04 NAD83\n"
                 "#H06 US SURVEY FEET\n#H07 LA SOUTH\n#H16 2011\n")
        csv = open(csv_path, "w", newline="\n") if csv_path else None
        if csv:
            csv.write("X,Y,Z,CrossSectionOID,PointId,PointTag,Elevation,RangeStartOffset,LateralOffset,Code\n")
        point_id = 1
        for s in range(sections):
            y = Y0 + 10.0 * s
            em.write("\n#X01 %.3f %.3f %.3f %.3f %d+00 XS %d\n" % (X0, y, X0 + width + 10.0, y, s, s))
            lines = []
            rows = []
            for p in range(per_section):
                x = X0 + 5.0 * p
                z = 10.0 + ((s * 7 + p * 13) % 200) / 10.0
                code = CODES[(s + p) % len(CODES)]
                lines.append("%d,%.3f,%.3f,%.2f,%s\n" % (point_id, y, x, z, code))
                if csv:
                    rows.append("%.3f,%.3f,%.2f,%d,%d,%d,%.2f,%.1f,0,%s\n"
                                % (x, y, z, s, point_id, point_id, z, 5.0 * p, code))
                point_id += 1
            em.write("".join(lines))
            if csv:
                csv.write("".join(rows))
        if csv:
            csv.close()
            with open(csv_path[:-4] + ".csvt", "w") as types:
                types.write("Real,Real,Real,Integer,Integer,String,Real,Real,Real,String\n")


if __name__ == "__main__":
    main()
