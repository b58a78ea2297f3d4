"""QGIS (python3-qgis, headless) as a client of the built "Veldrane" plugin.

Every sample layer is loaded through QGIS's OGR provider and compared with
what GDAL's own bindings read; the browser must list each file's classes;
QGIS's writer ("Save Features As") must take every feature to GeoPackage and
Shapefile with its text intact; a 2D benchmark must stay 2D; and QGIS must
log nothing critical. Usage: qgis_client.py SAMPLES_FOLDER WORK_FOLDER
(GDAL_DRIVER_PATH names the plugin's folder). Exit 77: no python3-qgis.
"""
import os
import sys
import time

try:
    from qgis.core import (NULL, Qgis, QgsApplication, QgsCoordinateTransformContext, QgsDirectoryItem,
                           QgsLayerItem, QgsVectorFileWriter, QgsVectorLayer, QgsWkbTypes)
except ImportError as missing:
    print(f"qgis_client: skipped: python3-qgis cannot be imported ({missing})")
    sys.exit(77)
from osgeo import gdal, ogr

SAMPLES, WORK = sys.argv[1], sys.argv[2]
FORMATS = {"GPKG": ".gpkg", "ESRI Shapefile": ".shp"}
started = time.monotonic()
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


DATE = object()  # a date field's value: QGIS and GDAL give it in forms of their own, not compared


def plain(value):
    """A QGIS or GDAL attribute value as a plain Python value (None for null)."""
    return None if value is None or value == NULL else value


def row_of(feature):
    return [DATE if feature.GetFieldType(i) in (ogr.OFTDate, ogr.OFTDateTime) else plain(feature.GetField(i))
            for i in range(feature.GetFieldCount())]


def gdal_layers():
    """{layer name: (survey file, OGR geometry type, [[field values] per feature])} as GDAL reads the samples."""
    dataset = gdal.OpenEx(SAMPLES, gdal.OF_VECTOR | gdal.OF_READONLY, allowed_drivers=["Veldrane"])
    layers = {}
    for layer in (dataset.GetLayer(i) for i in range(dataset.GetLayerCount())):
        rows = [row_of(feature) for feature in layer]
        layers[layer.GetName()] = (layer.GetMetadataItem("SURVEY_FILE"), layer.GetGeomType(), rows)
    return layers


def same_value(qgis_value, gdal_value):
    if isinstance(gdal_value, float):
        return isinstance(qgis_value, (int, float)) and abs(qgis_value - gdal_value) <= 1e-9 * max(1, abs(gdal_value))
    if isinstance(gdal_value, (int, str)) or gdal_value is None:
        return qgis_value == gdal_value
    return gdal_value is DATE


def load(name, survey_file, geometry_type, rows):
    """The layer through QGIS's OGR provider, compared with GDAL's reading."""
    layer = QgsVectorLayer(f"{os.path.join(SAMPLES, survey_file)}|layername={name}", name, "ogr")
    if not check(layer.isValid(), f"{name}: QGIS cannot load it"):
        return None
    check(layer.featureCount() == len(rows), f"{name}: QGIS counts {layer.featureCount()}, GDAL {len(rows)}")
    check(QgsWkbTypes.hasZ(layer.wkbType()) == bool(ogr.GT_HasZ(geometry_type)) and
          QgsWkbTypes.hasM(layer.wkbType()) == bool(ogr.GT_HasM(geometry_type)),
          f"{name}: QGIS type {QgsWkbTypes.displayString(layer.wkbType())}")
    for feature, row in zip(layer.getFeatures(), rows[:3]):
        values = [plain(v) for v in feature.attributes()]
        check(len(values) == len(row) and all(same_value(q, g) for q, g in zip(values, row)),
              f"{name}: QGIS {values} != GDAL {row}")
    return layer


def browse():
    """{survey file: [class names]} as QGIS's browser lists the sample folder."""
    listed = {}
    for item in QgsDirectoryItem(None, "samples", SAMPLES).createChildren():
        children = item.createChildren()
        if children and all(isinstance(child, QgsLayerItem) for child in children):
            listed[item.name()] = [child.name() for child in children]
    return listed


def save(layer, driver, folder):
    """The written copy (its dataset, to keep its layer alive) and its rows, read back with GDAL."""
    options = QgsVectorFileWriter.SaveVectorOptions()
    options.driverName, options.fileEncoding, options.layerName = driver, "UTF-8", layer.name()
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, layer.name().replace(" ", "_").replace(".", "_") + FORMATS[driver])
    error, message, written, _ = QgsVectorFileWriter.writeAsVectorFormatV3(
        layer, path, QgsCoordinateTransformContext(), options)
    if not check(error == QgsVectorFileWriter.NoError, f"{layer.name()}: {driver}: {message}"):
        return None, []
    copy = gdal.OpenEx(written or path, gdal.OF_VECTOR)
    return copy, [row_of(feature) for feature in copy.GetLayer(0)]


def text_arrived(saved, source, driver):
    """Whether every string of `source` arrived (Shapefile: cut to 254 bytes, outer blanks dropped)."""
    for saved_row, row in zip(saved, source):
        for got, sent in zip(saved_row, row):
            if not isinstance(sent, str):
                continue
            if driver == "ESRI Shapefile":
                sent = sent.encode()[:254].decode(errors="ignore").strip() or None
            if got != sent:
                return f"{sent!r} arrived as {got!r}"
    return None


def on_gdal_message(level, _number, message):
    # Warnings (the samples' problems, Shapefile's own limits) are expected.
    if level >= gdal.CE_Failure:
        failures.append(f"GDAL: {message}")


def main():
    gdal.PushErrorHandler(on_gdal_message)
    QgsApplication.messageLog().messageReceived.connect(
        lambda message, tag, level: level == Qgis.Critical and failures.append(f"QGIS log [{tag}]: {message}"))
    reference = gdal_layers()
    check(len(reference) >= 20, f"GDAL reads only {len(reference)} sample layers")
    listed = browse()
    saved = {driver: 0 for driver in FORMATS}
    for name, (survey_file, geometry_type, rows) in reference.items():
        check(name in listed.get(survey_file, []), f"browser: {survey_file} does not list {name}: {listed.get(survey_file)}")
        layer = load(name, survey_file, geometry_type, rows)
        if layer is None:
            continue
        for driver in FORMATS:
            copy, copied = save(layer, driver, os.path.join(WORK, driver.replace(" ", "_")))
            if copy is None:
                continue
            check(len(copied) == len(rows), f"{name}: {driver} holds {len(copied)} of {len(rows)} features")
            problem = text_arrived(copied, rows, driver)
            check(problem is None, f"{name}: {driver}: {problem}")
            saved[driver] += len(copied)
            if name == "levee.em Benchmarks":  # BM AMITE 3 at elevation 25.51: no Z of 0 invented
                points = copy.GetLayer(0)
                check(points.GetGeomType() == ogr.wkbPoint and not any(f.GetGeometryRef().Is3D() for f in points),
                      f"{name}: {driver} made the benchmarks {ogr.GeometryTypeToName(points.GetGeomType())}")
                check([r[1] for r in copied if r[0] == "BM AMITE 3"] == [25.51], f"{name}: {driver}: {copied}")
    QgsApplication.processEvents()
    features = sum(len(rows) for _, _, rows in reference.values())
    files = {survey_file for survey_file, _, _ in reference.values()}
    print(f"qgis_client: {len(reference)} layers ({features} features) of {len(files)} files,",
          f"{sum(1 for f in files if f in listed)} listed by class in the browser;",
          ", ".join(f"{driver} {count} features" for driver, count in saved.items()),
          f"saved; {time.monotonic() - started:.1f} s")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    application = QgsApplication([], False)
    application.initQgis()
    status = main()
    application.exitQgis()
    sys.exit(status)
