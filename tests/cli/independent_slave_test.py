#!/usr/bin/python3
"""korval scan, info, read and serve against a Modbus slave that is not our simulated device
(tests/support/modbus_slave.py, on pymodbus): the answers, the verdict and the exit codes.

usage: independent_slave_test.py KORVAL MODBUS_SLAVE_PY
"""
import json
import os
import signal
import socket
import subprocess
import sys
import time
import urllib.request

ADDRESS = 3
BAUD = 1200
# Generous: the slave's start-up is Python importing pymodbus; no timing is checked.
START_LIMIT_S = 60
COMMAND_LIMIT_S = 120

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append("%s: expected %r, got %r" % (what, expected, got))


def start_slave(script):
    slave = subprocess.Popen(
        [sys.executable, script, "--address", str(ADDRESS), "--baud", str(BAUD)],
        stdout=subprocess.PIPE, text=True)
    path = slave.stdout.readline().strip()
    if not path:
        slave.kill()
        sys.exit("the pymodbus slave printed no terminal path")
    return slave, path


def korval(exe, path, *args):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    run = subprocess.run([exe, *args, "--com", "1=" + path], capture_output=True, text=True,
                         env=env, timeout=COMMAND_LIMIT_S)
    return run.returncode, run.stdout, run.stderr


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def sample(text, series):
    for line in text.splitlines():
        if line.startswith(series + " "):
            return float(line.split()[-1])
    return None


def scrape(port):
    try:
        with urllib.request.urlopen("http://127.0.0.1:%d/metrics" % port, timeout=5) as r:
            return r.read().decode()
    except OSError:
        return ""


def check_serve(exe, path, env):
    """korval serve polls the slave and serves what it read for Prometheus."""
    port = free_port()
    serve = subprocess.Popen(
        [exe, "serve", "--com", "1=" + path, "--device",
         "com=1,address=%d,baud=%d,site=lab,string=s1" % (ADDRESS, BAUD),
         "--interval", "1", "--listen", "127.0.0.1:%d" % port],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=env)
    labels = '{site="lab",string="s1"}'
    text = ""
    try:
        deadline = time.monotonic() + COMMAND_LIMIT_S
        while sample(text, "korval_up" + labels) != 1 and time.monotonic() < deadline:
            time.sleep(0.5)
            text = scrape(port)
        check("serve: the slave is up", sample(text, "korval_up" + labels), 1)
        cell7 = '{cell="7",site="lab",string="s1"}'
        check("serve: cell 7 voltage", sample(text, "korval_cell_voltage_volts" + cell7), 13.95)
        check("serve: cell 7 resistance in ohms",
              sample(text, "korval_cell_resistance_ohms" + cell7), 0.001)
        check("serve: verdict warning", sample(text, "korval_bank_verdict" + labels), 1)
    finally:
        serve.send_signal(signal.SIGTERM)
        try:
            status = serve.wait(timeout=30)
        except subprocess.TimeoutExpired:
            serve.kill()
            status = "still running"
    check("serve: exit on SIGTERM", status, 0)


def main():
    exe, script = sys.argv[1], sys.argv[2]
    slave, path = start_slave(script)
    try:
        link = ["--baud", str(BAUD), "--address", str(ADDRESS)]
        # The first exchange may meet the interpreter still settling: ask until it answers.
        deadline = time.monotonic() + START_LIMIT_S
        status, out, err = korval(exe, path, "scan", "--first", "--format", "json", *link)
        while status != 0 and time.monotonic() < deadline:
            time.sleep(0.5)
            status, out, err = korval(exe, path, "scan", "--first", "--format", "json", *link)
        check("scan at its own settings: exit", status, 0)
        check("scan at its own settings", json.loads(out)["devices"],
              [{"address": ADDRESS, "baud_rate": BAUD, "version": "1.10"}])

        # From the defaults: 9600 and address 3 is noise, then 1200 from address 1 up.
        status, out, err = korval(exe, path, "scan", "--first", "--baud", "9600", "--address",
                                  str(ADDRESS), "--format", "json")
        check("scan from another rate: exit", status, 0)
        found = json.loads(out)
        check("scan from another rate", found["devices"],
              [{"address": ADDRESS, "baud_rate": BAUD, "version": "1.10"}])
        check("noise at the other rate", found["other_rate_noise"], [9600])
        check("the technician is told", "可能有设备使用其他波特率" in err, True)

        status, out, err = korval(exe, path, "info", "--format", "json", *link)
        check("info: exit", status, 0)
        info = json.loads(out)
        check("info: identity", (info["address"], info["baud_rate"], info["version"]),
              (ADDRESS, BAUD, "1.10"))
        check("info: limits", (info["limits"]["voltage_upper"], info["limits"]["current_upper"],
                               info["limits"]["temperature_lower"]), (14.0, 100, -20))
        check("info: masks", len(info["masks"]["voltage"]), 40)

        status, out, err = korval(exe, path, "read", "--format", "json", *link)
        check("read: exit (cell 7 near its upper limit)", status, 1)
        read = json.loads(out)
        check("read: values", (len(read["cells"]), read["cells"][6]["voltage"],
                               read["cells"][0]["resistance"], read["cells"][39]["temperature"],
                               read["current"]), (40, 13.95, 1.0, 25.0, -15.0))
        check("read: verdict", read["verdict"], "warning")
        check("read: worst cell", (read["worst"][0]["cell"],
                                   read["worst"][0]["reasons"][0]["band"]), (7, "warning"))

        status, out, err = korval(exe, path, "read", "--baud", "9600", "--address",
                                  str(ADDRESS))
        check("read at another rate: exit", status, 3)
        status, out, err = korval(exe, path, "read", "--baud", str(BAUD), "--address", "9")
        check("read at another address: exit", status, 3)

        check_serve(exe, path, {k: v for k, v in os.environ.items()
                                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")})
    finally:
        slave.terminate()
        slave.wait(timeout=10)
    for failure in failures:
        print("FAIL " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
