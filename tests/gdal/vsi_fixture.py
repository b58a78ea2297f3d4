#!/usr/bin/env python3
"""What the tests of survey files on GDAL's virtual file systems read from.

archives SAMPLES OUT: the samples packed every way GDAL unpacks them, and
damaged copies (each sample gzipped, and in a tar, cut at 60 %).
serve FOLDER PORT_FILE: FOLDER over HTTP on a loopback port, as /vsicurl/
reads web servers (HEAD, byte ranges, "Index of" listings); under "/drop/"
the same files, with the connection closed half way through. Writes the
port to PORT_FILE and serves until its standard input (the test's) closes.
"""
import gzip, http.server, io, os, re, sys, tarfile, threading, zipfile


def archives(samples, out):
    names = sorted(n for n in os.listdir(samples) if n[0] != "." and os.path.isfile(os.path.join(samples, n)))
    for zip_name, folder, method, members in [
            ("stored.zip", "", zipfile.ZIP_STORED, names), ("deflated.zip", "", zipfile.ZIP_DEFLATED, names),
            ("nested.zip", "jobs/2011/", zipfile.ZIP_DEFLATED, names), ("one.zip", "", 0, ["control.83"])]:
        with zipfile.ZipFile(os.path.join(out, zip_name), "w", method) as z:
            for n in members:
                z.write(os.path.join(samples, n), folder + n)
    for tar_name, mode in [("samples.tar", "w"), ("samples.tgz", "w:gz")]:
        with tarfile.open(os.path.join(out, tar_name), mode) as t:
            for n in names:
                t.add(os.path.join(samples, n), n)
    os.makedirs(os.path.join(out, "gz"))
    os.makedirs(os.path.join(out, "cut"))
    for n in names:
        data = open(os.path.join(samples, n), "rb").read()
        packed, tar = gzip.compress(data), io.BytesIO()
        with tarfile.open(fileobj=tar, mode="w") as t:
            t.add(os.path.join(samples, n), n)
        plain = n == "CODES.DAT"  # found beside the compressed surveys as it is
        open(os.path.join(out, "gz", n if plain else n + ".gz"), "wb").write(data if plain else packed)
        open(os.path.join(out, "cut", n + ".gz"), "wb").write(packed[:len(packed) * 6 // 10])
        open(os.path.join(out, "cut", n + ".tar"), "wb").write(tar.getvalue()[:512 + len(data) * 6 // 10])


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.do_GET(with_body=False)

    def do_GET(self, with_body=True):
        drop = re.match(r"/drop(/|$)", self.path) is not None
        local = os.path.join(self.server.root, self.path[5 if drop else 0:].lstrip("/"))
        if os.path.isdir(local):
            names = [n + "/" * os.path.isdir(os.path.join(local, n)) for n in sorted(os.listdir(local))]
            rows = "".join('<a href="%s">%s</a>\n' % (n, n) for n in names + ["drop/"] * (self.path == "/"))
            page = "<title>Index of %s</title><pre>\n%s</pre>" % (self.path, rows)
            return self.reply(200, page.encode(), with_body)
        if not os.path.isfile(local):
            return self.reply(404, b"not found", with_body)
        size = os.path.getsize(local)
        ranged = re.match(r"bytes=(\d+)-(\d*)", self.headers.get("Range", ""))
        first, last = (int(ranged.group(1)), int(ranged.group(2) or size - 1)) if ranged else (0, size - 1)
        last = min(last, size - 1)
        headers = {"Accept-Ranges": "bytes"}
        if ranged:
            headers["Content-Range"] = "bytes %d-%d/%d" % (first, last, size)
        self.reply(206 if ranged else 200, None, with_body, last - first + 1, headers)
        if with_body:
            end = min(last + 1, size // 2 if drop else size)
            with open(local, "rb") as f:
                f.seek(first)
                self.wfile.write(f.read(max(0, end - first)))
            if end <= last:
                self.wfile.flush()
                self.connection.shutdown(2)
                self.close_connection = True

    def reply(self, status, body, with_body, length=None, headers={}):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body) if body is not None else length))
        for key, value in headers.items():
            self.send_header(key, value)
        self.end_headers()
        if with_body and body is not None:
            self.wfile.write(body)


def serve(folder, port_file):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads, server.root = True, folder
    open(port_file + ".tmp", "w").write(str(server.server_address[1]))
    os.rename(port_file + ".tmp", port_file)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()


if __name__ == "__main__":
    archives(*sys.argv[2:4]) if sys.argv[1] == "archives" else serve(*sys.argv[2:4])
