#!/usr/bin/env python3
"""The development service's file answers seen by an independent HTTP client (Python's
http.client): byte ranges with Content-Range and 416, validators and If-Range, answers cut
after N bytes (listed or seeded random), a file replaced between requests, the switches for a
service without ranges, one that refuses them and one that mislabels them, a paced body, and
the request log's range headers.

  dev_service_ranges_test.py DEV_INSTALL_SERVICE
"""
import http.client
import json
import os
import subprocess
import sys
import tempfile
import time

SIZE = 300_000


class Service:
    def __init__(self, binary, folder, *options):
        self.log = os.path.join(folder, "requests.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        self.process = subprocess.Popen(
            [binary, "--port", "0", "--files", folder, "--request-log", self.log, *options],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        assert line.startswith("listening on 127.0.0.1:"), line
        self.port = int(line.rsplit(":", 1)[1])

    def get(self, path="/package.exe", **headers):
        """(status, headers, body, complete): a fresh connection per request, so a cut one
        shows as an incomplete body."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            connection.request("GET", path, headers=headers)
            answer = connection.getresponse()
            try:
                body, complete = answer.read(), True
            except http.client.IncompleteRead as cut:
                body, complete = cut.partial, False
            return answer.status, answer.headers, body, complete
        finally:
            connection.close()

    def requests(self):
        with open(self.log, encoding="utf-8") as lines:
            return [json.loads(line) for line in lines]

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.process.terminate()
        self.process.wait(timeout=10)


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def ranges_and_validators(binary, folder, data):
    with Service(binary, folder) as service:
        status, headers, body, complete = service.get()
        expect((status, body, complete) == (200, data, True), f"whole file: {status}")
        expect(headers["Accept-Ranges"] == "bytes", "no Accept-Ranges on the 200")
        expect(headers["Content-Length"] == str(SIZE), "Content-Length")
        etag, modified = headers["ETag"], headers["Last-Modified"]
        expect(etag and etag.startswith('"') and modified.endswith(" GMT"), f"{etag} {modified}")

        for range_, first, last in (("bytes=1000-", 1000, SIZE - 1), ("bytes=5-9", 5, 9),
                                    ("bytes=-10", SIZE - 10, SIZE - 1),
                                    ("bytes=299990-400000", 299990, SIZE - 1)):
            for if_range in (None, etag, modified):
                extra = {"If-Range": if_range} if if_range else {}
                status, headers, body, _ = service.get(Range=range_, **extra)
                expect(status == 206, f"{range_} {if_range}: status {status}")
                expect(headers["Content-Range"] == f"bytes {first}-{last}/{SIZE}",
                       f"{range_}: Content-Range {headers['Content-Range']}")
                expect(body == data[first:last + 1], f"{range_}: wrong bytes")
                expect(headers["ETag"] == etag, "the 206 lost its ETag")

        status, headers, body, _ = service.get(Range="bytes=1000-", **{"If-Range": '"other"'})
        expect((status, body) == (200, data), f"a stale If-Range got {status}")
        expect("Content-Range" not in headers, "a 200 with Content-Range")
        for range_ in (f"bytes={SIZE}-", f"bytes={SIZE + 5}-"):
            status, headers, body, _ = service.get(Range=range_)
            expect(status == 416 and body == b"", f"{range_}: {status}")
            expect(headers["Content-Range"] == f"bytes */{SIZE}", headers["Content-Range"])

        logged = [r for r in service.requests() if r["range"] == "bytes=1000-"]
        expect(logged[1]["ifRange"] == etag and logged[2]["ifRange"] == modified,
               f"If-Range not logged: {logged[:3]}")
        expect(set(logged[1]["headers"]) >= {"Range", "If-Range", "Host"},
               f"header names {logged[1]['headers']}")
        expect("Range" not in service.requests()[0]["headers"], "a Range logged for a plain GET")


def cuts(binary, folder, data):
    with Service(binary, folder, "--cut-after", "1000,0,400000") as service:
        for expected in (1000, 0):
            status, _, body, complete = service.get()
            expect(status == 200 and not complete and body == data[:expected],
                   f"a cut after {expected}: {status} {complete} {len(body)}")
        status, _, body, complete = service.get(Range="bytes=1000-")
        expect(status == 206 and complete and body == data[1000:], "a cut beyond the body")
        expect(service.get()[2:] == (data, True), "an answer after the list was cut")

    def random_points():
        with Service(binary, folder, "--cut-after", "7", "--random-cuts", "42,2") as service:
            points = []
            for _ in range(4):
                status, _, body, complete = service.get(Range="bytes=100000-")
                expect(status == 206 and body == data[100000:100000 + len(body)], "cut bytes")
                points.append(len(body) if not complete else None)
            expect(points[0] == 7 and points[-1] is None, f"cut points {points}")
            expect(all(0 <= p < SIZE - 100000 for p in points[1:3]), f"cut points {points}")
            return points
    first = random_points()
    expect(first == random_points(), "the same seed cut at other points")


def switches(binary, folder, data):
    with Service(binary, folder, "--ranges", "none") as service:
        status, headers, body, _ = service.get(Range="bytes=1000-")
        expect((status, body) == (200, data), f"no ranges: {status}")
        expect("Accept-Ranges" not in headers, "Accept-Ranges without range support")
    with Service(binary, folder, "--ranges", "416") as service:
        expect(service.get()[1]["Accept-Ranges"] == "bytes", "416: no Accept-Ranges")
        status, headers, body, _ = service.get(Range="bytes=1000-")
        expect(status == 416 and headers["Content-Range"] == f"bytes */{SIZE}", f"416: {status}")
    with Service(binary, folder, "--ranges", "mismatch") as service:
        status, headers, body, _ = service.get(Range="bytes=1000-")
        expect(status == 206 and body == data, f"mismatch: {status} {len(body)}")
        expect(headers["Content-Range"] == f"bytes 0-{SIZE - 1}/{SIZE}", headers["Content-Range"])
    with Service(binary, folder, "--validators", "last-modified") as service:
        headers = service.get()[1]
        expect("ETag" not in headers and headers["Last-Modified"], "last-modified only")
        status = service.get(Range="bytes=5-", **{"If-Range": headers["Last-Modified"]})[0]
        expect(status == 206, f"If-Range with Last-Modified: {status}")
    with Service(binary, folder, "--validators", "none") as service:
        headers = service.get()[1]
        expect("ETag" not in headers and "Last-Modified" not in headers, "validators sent")
        expect(service.get(Range="bytes=5-")[0] == 206, "a range without If-Range")
        expect(service.get(Range="bytes=5-", **{"If-Range": "x"})[0] == 200, "If-Range matched")


def replaced_file(binary, folder, data):
    replacement = os.path.join(folder, "next.bin")
    new_data = bytes(reversed(data))
    with open(replacement, "wb") as out:
        out.write(new_data)
    with Service(binary, folder, "--replace-with", replacement, "--replace-after", "1") as service:
        status, headers, body, _ = service.get()
        expect(body == data, "the first answer is not the old file")
        status, new_headers, body, _ = service.get(Range="bytes=1000-",
                                                   **{"If-Range": headers["ETag"]})
        expect((status, body) == (200, new_data), f"after the change: {status}")
        expect(new_headers["ETag"] != headers["ETag"], "the ETag did not change")
        status, _, body, _ = service.get(Range="bytes=1000-", **{"If-Range": new_headers["ETag"]})
        expect((status, body) == (206, new_data[1000:]), f"the new file's range: {status}")
    with open(os.path.join(folder, "package.exe"), "rb") as served:
        expect(served.read() == new_data, "the served file was not replaced on disk")
    with open(os.path.join(folder, "package.exe"), "wb") as served:
        served.write(data)


def paced(binary, folder, data):
    """--rate holds a file body to that many KiB per second, whole and unchanged; a range too."""
    with Service(binary, folder, "--rate", "200") as service:
        started = time.monotonic()
        status, _, body, complete = service.get()
        seconds = time.monotonic() - started
        expect(status == 200 and complete and body == data, "the paced body is not the file")
        expect(seconds > 0.8 * SIZE / (200 * 1024),
               f"{SIZE} bytes at 200 KiB/s took only {seconds:.2f} s")
        status, _, body, _ = service.get(Range=f"bytes={SIZE - 1000}-")
        expect(status == 206 and body == data[-1000:], "the paced range is not the file's end")


def bad_options(binary, folder, data):
    """Malformed switch values are refused before the service listens."""
    for options in (["--cut-after", "1,,2"], ["--cut-after", "-5"], ["--cut-after", ""],
                    ["--cut-after", "99999999999999999999999"], ["--random-cuts", "5"],
                    ["--random-cuts", "5,1,2"], ["--ranges", "maybe"], ["--validators", "etag"],
                    ["--replace-after", "-1"], ["--replace-with", ""], ["--rate", "0"],
                    ["--rate", "fast"]):
        result = subprocess.run([binary, "--port", "0", *options], capture_output=True,
                                text=True, timeout=10)
        expect(result.returncode == 2 and "bad option" in result.stderr,
               f"{options}: exit {result.returncode}, {result.stderr!r}")


def main():
    binary = sys.argv[1]
    data = os.urandom(SIZE)
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "package.exe"), "wb") as package:
            package.write(data)
        for test in (ranges_and_validators, cuts, switches, replaced_file, paced, bad_options):
            test(binary, folder, data)
            print(f"{test.__name__}: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
