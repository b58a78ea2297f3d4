"""Shared pieces of the sample generators: the project site (a levee on the
Amite River, Livingston Parish, Louisiana), the Louisiana South state plane
projection (NAD83, US survey feet) and a writer for fixed-column lines.

Every generated sample is deterministic: run the generators again and the
files come out byte for byte the same.
"""
import math
import os

SAMPLES = os.path.normpath(os.path.join(os.path.dirname(__file__), ".."))
US_FOOT = 1200.0 / 3937.0  # metres

# Lambert conformal conic, two standard parallels: NAD83 / Louisiana South.
_A = 6378137.0
_F = 1 / 298.257222101
_E = math.sqrt(2 * _F - _F * _F)
_PHI1, _PHI2 = math.radians(29 + 18 / 60), math.radians(30 + 42 / 60)
_PHI0, _LAM0 = math.radians(28 + 30 / 60), math.radians(-(91 + 20 / 60))
_FE_M = 1000000.0


def _m(phi):
    return math.cos(phi) / math.sqrt(1 - (_E * math.sin(phi)) ** 2)


def _t(phi):
    s = _E * math.sin(phi)
    return math.tan(math.pi / 4 - phi / 2) / ((1 - s) / (1 + s)) ** (_E / 2)


_N = (math.log(_m(_PHI1)) - math.log(_m(_PHI2))) / (math.log(_t(_PHI1)) - math.log(_t(_PHI2)))
_BIGF = _m(_PHI1) / (_N * _t(_PHI1) ** _N)
_RHO0 = _A * _BIGF * _t(_PHI0) ** _N


def to_geographic(easting_ft, northing_ft):
    """State plane feet -> (latitude, longitude) in degrees, west negative."""
    x = easting_ft * US_FOOT - _FE_M
    y = _RHO0 - northing_ft * US_FOOT
    rho = math.copysign(math.hypot(x, y), _N)
    t = (rho / (_A * _BIGF)) ** (1 / _N)
    theta = math.atan2(x, y)
    lam = theta / _N + _LAM0
    phi = math.pi / 2 - 2 * math.atan(t)
    for _ in range(20):
        s = _E * math.sin(phi)
        phi = math.pi / 2 - 2 * math.atan(t * ((1 - s) / (1 + s)) ** (_E / 2))
    return math.degrees(phi), math.degrees(lam)


def grid_scale_factor(easting_ft, northing_ft):
    lat, _ = to_geographic(easting_ft, northing_ft)
    phi = math.radians(lat)
    rho = _A * _BIGF * _t(phi) ** _N
    return rho * _N / (_A * _m(phi))


def convergence(easting_ft, northing_ft):
    """Grid convergence in degrees (positive east of the central meridian)."""
    _, lon = to_geographic(easting_ft, northing_ft)
    return math.degrees(_N * (math.radians(lon) - _LAM0))


def grid_azimuth(x1, y1, x2, y2):
    """Clockwise from grid north, degrees in [0, 360)."""
    return math.degrees(math.atan2(x2 - x1, y2 - y1)) % 360.0


def dms(degrees, places=2, sep="-", width_deg=0):
    """Degrees -> 'D-MM-SS.ss' (always positive; callers pass magnitudes)."""
    total = round(abs(degrees) * 3600, places)
    d = int(total // 3600)
    m = int((total - d * 3600) // 60)
    s = total - d * 3600 - m * 60
    return f"{d:0{width_deg}d}{sep}{m:02d}{sep}{s:0{3 + places}.{places}f}"


class Polyline:
    """The levee baseline: stationing along a polyline of (x, y) vertices."""

    def __init__(self, vertices, start_station=0.0):
        self.vertices = vertices
        self.start = start_station
        self.cumulative = [start_station]
        for (x1, y1), (x2, y2) in zip(vertices, vertices[1:]):
            self.cumulative.append(self.cumulative[-1] + math.hypot(x2 - x1, y2 - y1))

    def at(self, station):
        """(x, y, unit direction) at a station; the direction at a vertex is
        the mean of its two segments, so range lines there bisect the bend."""
        for i in range(len(self.vertices) - 1):
            s0, s1 = self.cumulative[i], self.cumulative[i + 1]
            # Before the first vertex or past the last the end segments extend.
            if station <= s1 + 1e-6 or i == len(self.vertices) - 2:
                (x1, y1), (x2, y2) = self.vertices[i], self.vertices[i + 1]
                f = (station - s0) / (s1 - s0)
                dx, dy = (x2 - x1) / (s1 - s0), (y2 - y1) / (s1 - s0)
                if abs(station - s1) < 1e-6 and i + 2 < len(self.vertices):
                    (x3, y3) = self.vertices[i + 2]
                    ex, ey = x3 - x2, y3 - y2
                    el = math.hypot(ex, ey)
                    dx, dy = dx + ex / el, dy + ey / el
                    length = math.hypot(dx, dy)
                    dx, dy = dx / length, dy / length
                return x1 + (x2 - x1) * f, y1 + (y2 - y1) * f, (dx, dy)
        raise ValueError(station)

    def offset_point(self, station, offset):
        """The point `offset` feet left (positive, the river side) of the line."""
        x, y, (dx, dy) = self.at(station)
        return x - dy * offset, y + dx * offset


# The Amite River left-bank levee, running east-north-east with one bend.
# The river lies to the left (north-west) of the baseline.
def _traverse(x, y, legs):
    points = [(x, y)]
    for azimuth, length in legs:
        x += length * math.sin(math.radians(azimuth))
        y += length * math.cos(math.radians(azimuth))
        points.append((x, y))
    return points


# 0+00 to 20+00 at grid azimuth 75 degrees, then 20+00 to 40+00 at 65.
LEVEE_BASELINE = Polyline(_traverse(3391000.00, 690500.00, [(75.0, 2000.0), (65.0, 2000.0)]))


def station_text(station):
    hundreds = int(station // 100)
    return f"{hundreds}+{station - hundreds * 100:05.2f}"


class FixedLine:
    """Builds a fixed-column line: put() writes text at 1-based columns."""

    def __init__(self):
        self.chars = []

    def put(self, start, text, width=None, right=False):
        if width is not None:
            if len(text) > width:
                raise ValueError(f"{text!r} does not fit {width} columns at {start}")
            text = text.rjust(width) if right else text.ljust(width)
        end = start - 1 + len(text)
        if len(self.chars) < end:
            self.chars.extend(" " * (end - len(self.chars)))
        for i, c in enumerate(text):
            if self.chars[start - 1 + i] != " " and c != " ":
                raise ValueError(f"column {start + i} already holds {self.chars[start - 1 + i]!r}")
            self.chars[start - 1 + i] = c
        return self

    def text(self):
        return "".join(self.chars).rstrip(" ")


def write_crlf(name, lines, encoding="cp1252"):
    """Writes a sample with Windows line breaks, as field computers do."""
    path = os.path.join(SAMPLES, name)
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode(encoding))
    return path
