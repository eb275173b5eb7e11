#!/usr/bin/env python3
"""Pixels of the web GL layer against the desktop OpenGL driver's.

  layer_pixels.py desktop <program> <golden dir> <work dir> [--update]
      Runs the desktop scene program (on the display in $DISPLAY), which writes <scene>.ppm into
      the work dir, and compares each frame with <golden dir>/<scene>.png, the reference frames
      the desktop driver (Mesa) made; --update writes the frames as the new references instead.
  layer_pixels.py browser <page dir> <golden dir> <work dir>
      Serves the page dir on 127.0.0.1, opens layer_scenes.html in headless Chromium (WebGL on
      SwiftShader), takes the frames the page posts back and compares them with the references.

Frames, their differences and the measures are left in the work dir. Exit code 0 when every
frame is within the tolerance, 1 otherwise, 77 when there is no browser to run.
"""
import http.server
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import zlib

# A frame matches when its mean difference per channel and its share of pixels that differ
# clearly (by more than 24 of 255 in a channel: an edge or a line a pixel off) stay small.
MEAN_LIMIT = 0.25
CLEAR_DIFFERENCE = 24
SHARE_LIMIT = 0.005


def write_png(path, width, height, rgb):
    rows = b"".join(b"\0" + rgb[y * width * 3:(y + 1) * width * 3] for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(chunk(b"IEND", b""))


def read_png(path):
    """8-bit RGB PNGs without interlacing, any row filter."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                raise ValueError(f"{path}: not an 8-bit RGB PNG")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    out = bytearray()
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = previous[i]
            c = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out += line
        previous = line
    return width, height, bytes(out)


def read_ppm(path):
    """Binary PPM as the scene program writes it: "P6", width, height, 255, one blank, pixels."""
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, height = int(fields[1]), int(fields[2])
    # Exactly one blank ends the header: the pixels may start with bytes that look blank.
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def compare(name, width, height, rgb, golden_dir, work_dir):
    """Prints the measures of one frame against its reference; True when within the limits."""
    write_png(os.path.join(work_dir, name + ".png"), width, height, rgb)
    reference_path = os.path.join(golden_dir, name + ".png")
    if not os.path.exists(reference_path):
        print(f"{name}: no reference {reference_path}")
        return False
    ref_width, ref_height, reference = read_png(reference_path)
    if (ref_width, ref_height) != (width, height):
        print(f"{name}: {width}x{height}, the reference is {ref_width}x{ref_height}")
        return False
    total, largest, clear = 0, 0, 0
    diff = bytearray(len(rgb))
    for p in range(width * height):
        worst = 0
        for k in range(3):
            d = abs(rgb[3 * p + k] - reference[3 * p + k])
            total += d
            worst = max(worst, d)
            diff[3 * p + k] = min(255, d * 4)
        largest = max(largest, worst)
        if worst > CLEAR_DIFFERENCE:
            clear += 1
    write_png(os.path.join(work_dir, name + "-diff.png"), width, height, bytes(diff))
    mean = total / (width * height * 3)
    share = clear / (width * height)
    ok = mean <= MEAN_LIMIT and share <= SHARE_LIMIT
    print(f"{name}: {width}x{height}, mean difference {mean:.3f} per channel, largest {largest}, "
          f"{clear} pixels ({100 * share:.2f} %) differ by more than {CLEAR_DIFFERENCE}"
          f" -> {'within' if ok else 'OUTSIDE'} the tolerance")
    return ok


def desktop(program, golden_dir, work_dir, update):
    result = subprocess.run([program, work_dir], cwd=work_dir)
    if result.returncode != 0:
        print(f"the scene program ended with {result.returncode}")
        return 1
    ok = True
    for entry in sorted(os.listdir(work_dir)):
        if not entry.endswith(".ppm"):
            continue
        name = entry[:-4]
        width, height, rgb = read_ppm(os.path.join(work_dir, entry))
        if update:
            write_png(os.path.join(golden_dir, name + ".png"), width, height, rgb)
            print(f"{name}: reference written")
        else:
            ok = compare(name, width, height, rgb, golden_dir, work_dir) and ok
    return 0 if ok else 1


class PageServer(http.server.SimpleHTTPRequestHandler):
    """Serves the page; keeps the frames it posts and notes the end of the run."""
    frames = {}
    failures = []
    done = threading.Event()

    def do_POST(self):
        url = urllib.parse.urlparse(self.path)
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        query = dict(urllib.parse.parse_qsl(url.query))
        if url.path.startswith("/frame/"):
            PageServer.frames[url.path[7:]] = (query, body)
        elif url.path.startswith("/fail/"):
            PageServer.failures.append(url.path[6:])
        elif url.path == "/done":
            PageServer.done.set()
        self.send_response(204)
        self.end_headers()

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def browser(page_dir, golden_dir, work_dir):
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if chromium is None:
        print("no chromium: skipped")
        return 77
    handler = lambda *a, **k: PageServer(*a, directory=page_dir, **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/layer_scenes.html"
    profile = tempfile.mkdtemp(prefix="qv-webgl-chromium-")
    log = open(os.path.join(work_dir, "chromium.log"), "wb")
    # Headless needs no display; given one that is gone, its GPU process finds no WebGL at all.
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    browser_process = subprocess.Popen(
        [chromium, "--headless=new", "--no-sandbox", "--enable-unsafe-swiftshader",
         "--disable-gpu-sandbox", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", f"--user-data-dir={profile}",
         "--enable-logging=stderr", url],
        stdout=log, stderr=subprocess.STDOUT, env=environment, start_new_session=True)
    try:
        finished = PageServer.done.wait(120)
    finally:
        os.killpg(browser_process.pid, signal.SIGTERM)
        try:
            browser_process.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(browser_process.pid, signal.SIGKILL)
            browser_process.wait()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)
    if not finished:
        print(f"the page did not finish within 120 s (see {work_dir}/chromium.log)")
        return 1
    ok = not PageServer.failures
    for name in PageServer.failures:
        print(f"{name}: the renderer could not make a WebGL context")
    for name, (query, body) in sorted(PageServer.frames.items()):
        width, height = int(query["width"]), int(query["height"])
        if query.get("error", "0") != "0":
            print(f"{name}: the scene left GL error {query['error']}")
            ok = False
        ok = compare(name, width, height, body, golden_dir, work_dir) and ok
    if not PageServer.frames:
        print("no frames came back")
        ok = False
    return 0 if ok else 1


def main(args):
    if len(args) >= 4 and args[0] == "desktop":
        os.makedirs(args[3], exist_ok=True)
        return desktop(os.path.abspath(args[1]), args[2], os.path.abspath(args[3]),
                       "--update" in args[4:])
    if len(args) == 4 and args[0] == "browser":
        os.makedirs(args[3], exist_ok=True)
        return browser(args[1], args[2], args[3])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
