#!/usr/bin/env python3
"""What the tests of survey files on GDAL's virtual file systems read from.

  vsi_fixture.py archives SAMPLES OUT   the samples packed every way GDAL
      unpacks them: zip (stored, deflated, in a folder, of one file), tar, tar.gz, each
      file gzipped, and damaged copies (each sample gzipped, and in a tar,
      cut at 60 %).
  vsi_fixture.py serve FOLDER PORT_FILE   serves FOLDER over HTTP on a
      loopback port as web servers and object stores do for /vsicurl/ (HEAD,
      byte ranges, "Index of" folder listings); files under a folder "drop"
      are cut off: the connection closes half way through the file. Writes
      the port to PORT_FILE, then serves until its standard input closes
      (the test holds it, so the server ends with the test however it ends).
"""
import gzip, html, http.server, io, os, re, shutil, sys, tarfile, threading, zipfile


def archives(samples, out):
    names = sorted(n for n in os.listdir(samples) if n[0] != "." and os.path.isfile(os.path.join(samples, n)))
    for zip_name, folder, method in [("stored.zip", "", zipfile.ZIP_STORED), ("deflated.zip", "", zipfile.ZIP_DEFLATED),
                                     ("nested.zip", "jobs/2011/", zipfile.ZIP_DEFLATED)]:
        with zipfile.ZipFile(os.path.join(out, zip_name), "w", method) as z:
            for n in names:
                z.write(os.path.join(samples, n), folder + n)
    with zipfile.ZipFile(os.path.join(out, "one.zip"), "w") as z:
        z.write(os.path.join(samples, "control.83"), "control.83")
    for tar_name, mode in [("samples.tar", "w"), ("samples.tgz", "w:gz")]:
        with tarfile.open(os.path.join(out, tar_name), mode) as t:
            for n in names:
                t.add(os.path.join(samples, n), n)
    for kind in ("gz", "cut", "http/drop"):
        os.makedirs(os.path.join(out, kind), exist_ok=True)
    for n in names:
        data = open(os.path.join(samples, n), "rb").read()
        shutil.copy(os.path.join(samples, n), os.path.join(out, "http", n))
        shutil.copy(os.path.join(samples, n), os.path.join(out, "http/drop", n))
        if n == "CODES.DAT":  # stays plain: found beside the compressed surveys
            shutil.copy(os.path.join(samples, n), os.path.join(out, "gz", n))
            continue
        packed = gzip.compress(data)
        open(os.path.join(out, "gz", n + ".gz"), "wb").write(packed)
        open(os.path.join(out, "cut", n + ".gz"), "wb").write(packed[:len(packed) * 6 // 10])
        packed = io.BytesIO()
        with tarfile.open(fileobj=packed, mode="w") as t:
            t.add(os.path.join(samples, n), n)
        open(os.path.join(out, "cut", n + ".tar"), "wb").write(packed.getvalue()[:512 + len(data) * 6 // 10])


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.serve(False)

    def do_GET(self):
        self.serve(True)

    def serve(self, with_body):
        local = os.path.join(self.server.root, self.path.split("?")[0].lstrip("/"))
        if os.path.isdir(local):
            rows = ['<a href="{0}">{0}</a>  01-Jan-2026 00:00  -'.format(html.escape(n + "/" * os.path.isdir(
                os.path.join(local, n)))) for n in sorted(os.listdir(local))]
            return self.reply(200, ("<html><head><title>Index of %s</title></head><body><pre>\n%s\n</pre></body>"
                                    "</html>\n" % (html.escape(self.path), "\n".join(rows))).encode(), with_body)
        if not os.path.isfile(local):
            return self.reply(404, b"not found", with_body)
        size = os.path.getsize(local)
        ranged = re.match(r"bytes=(\d+)-(\d*)", self.headers.get("Range", ""))
        first, last = (int(ranged.group(1)), int(ranged.group(2) or size - 1)) if ranged else (0, size - 1)
        last = min(last, size - 1)
        self.send_response(206 if ranged else 200)
        self.send_header("Content-Length", str(last - first + 1))
        self.send_header("Accept-Ranges", "bytes")
        if ranged:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, size))
        self.end_headers()
        if with_body:
            cut = size // 2 if "/drop/" in self.path else size
            with open(local, "rb") as f:
                f.seek(first)
                self.wfile.write(f.read(max(0, min(last + 1, cut) - first)))
            if last + 1 > cut:
                self.wfile.flush()
                self.connection.shutdown(2)
                self.close_connection = True

    def reply(self, status, body, with_body):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if with_body:
            self.wfile.write(body)


def serve(folder, port_file):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = folder
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(port_file + ".tmp", port_file)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    archives(sys.argv[2], sys.argv[3]) if sys.argv[1] == "archives" else serve(sys.argv[2], sys.argv[3])
