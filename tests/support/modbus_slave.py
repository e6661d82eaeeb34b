#!/usr/bin/python3
"""A Modbus RTU slave that is not KORVAL's own simulated device, for checking the command line
against another implementation of the protocol: Debian's python3-pymodbus decodes the
requests, answers them from its register store (exceptions included) and frames the replies.

It serves one pseudo-terminal, prints the path for `korval --com 1=PATH` on the first line
of its output, and answers at one address and one rate only. A request heard at another rate
(the rate the master set on its side of the terminal) is noise to it, and what it says back
reaches the master as bytes that form no frame, as on a real line.

The registers hold a known bank: 40 cells at 12.500 V, cell 7 at 13.950 V (near the 14.0 V
upper limit), 1.00 mOhm, 25.0 degC, -15.0 A; limits 45/-20 degC, 14.0/10.5 V, 2.0 mOhm,
100 A; every channel watched; version 1.10.
"""
import argparse
import os
import select
import signal
import sys
import termios
import tty

from pymodbus.datastore import ModbusServerContext, ModbusSlaveContext, ModbusSparseDataBlock
from pymodbus.factory import ServerDecoder
from pymodbus.framer.rtu_framer import ModbusRtuFramer

CELLS = 40
NOISE = bytes([0xF8, 0x00, 0x80, 0xFE])
RATES = {getattr(termios, "B%d" % r): r for r in (1200, 2400, 4800, 9600, 19200, 38400)}


def registers(address, baud):
    """The device's registers by number, as the holding and the input registers alike."""
    regs = {}
    for k in range(CELLS):
        regs[0x0000 + k] = 12500  # 0.001 V
        regs[0x0028 + k] = 100  # 0.01 mOhm
        regs[0x0051 + k] = 250  # 0.1 degC, sign and magnitude
    regs[0x0000 + 6] = 13950
    regs[0x0050] = 0x8000 | 150  # -15.0 A
    info = [24, 200, address, baud, 110]  # interval, sensor range, address, rate, version
    for k, value in enumerate(info):
        regs[0x1000 + k] = value
    for k in range(4):  # the device clock and the sampling moment
        regs[0x1005 + k] = 0
        regs[0x1009 + k] = 0
    regs[0x100D] = 0x003F  # relay enables
    regs[0x100E] = 0x2D94  # 45 / -20 degC
    regs[0x100F] = 0x8C69  # 14.0 / 10.5 V
    regs[0x1010] = 20  # 2.0 mOhm
    regs[0x1011] = 100  # 100 A
    for first in (0x1012, 0x1015, 0x1018):  # voltage, resistance, temperature masks
        for k, value in enumerate((0x00FF, 0xFFFF, 0xFFFF)):
            regs[first + k] = value
    regs[0x101B] = 0  # alarm status
    return regs


def line_rate(fd):
    """The rate the master set on its side of the terminal; 0 when it is none we know."""
    attrs = termios.tcgetattr(fd)
    return RATES.get(attrs[5], 0)


def serve(master, address, baud):
    store = ModbusSparseDataBlock(registers(address, baud))
    slave = ModbusSlaveContext(hr=store, ir=store, zero_mode=True)
    context = ModbusServerContext(slaves={address: slave}, single=False)
    framer = ModbusRtuFramer(ServerDecoder())

    def answer(request):
        response = request.execute(context[request.unit_id])
        response.unit_id = request.unit_id
        response.transaction_id = request.transaction_id
        os.write(master, framer.buildPacket(response))

    while True:
        ready, _, _ = select.select([master], [], [], 1.0)
        if not ready:
            continue
        try:
            data = os.read(master, 512)
        except OSError:  # the master closed its side: wait for the next opening
            select.select([], [], [], 0.05)
            continue
        if line_rate(master) != baud:
            framer.resetFrame()
            if data and data[0] == address:
                os.write(master, NOISE)
            continue
        framer.processIncomingPacket(data, answer, unit=[address], single=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--address", type=int, default=1)
    parser.add_argument("--baud", type=int, default=9600)
    options = parser.parse_args()
    master, slave = os.openpty()
    tty.setraw(slave)
    path = os.ttyname(slave)
    # The slave side stays open here too, so the terminal lives between two openings.
    print(path, flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    serve(master, options.address, options.baud)


if __name__ == "__main__":
    main()
