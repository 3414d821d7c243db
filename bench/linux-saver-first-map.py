#!/usr/bin/env python3
"""Time from starting `pelloxss /s` to the map of its full-screen window, on a private Xvfb.

The shared harness (../shared/bench/clock_cpu.py) counts no override-redirect window, so the
saver's first map is measured here the same way: `xev -root -event substructure` reports the
MapNotify. The saver maps its window after drawing its first frame.
    bench/linux-saver-first-map.py PELLOXSS [RUNS=5]
Prints one line per run and the median, in milliseconds."""
import os, statistics, subprocess, sys, tempfile, time

saver = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
home = tempfile.mkdtemp(prefix='pellox-first-map.')
os.makedirs(f'{home}/config/pelloxss'); os.makedirs(f'{home}/run', mode=0o700)
with open(f'{home}/config/pelloxss/pellox2.xml', 'w') as f:
    f.write('<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value>'
            '<value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00'
            '</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">'
            'GMT+01:00</value></serie>')
r, w = os.pipe()
xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(w), '-screen', '0', '1920x1080x24',
                         '-nolisten', 'tcp'], pass_fds=[w], stderr=subprocess.DEVNULL)
os.close(w)
display = ':' + os.read(r, 16).decode().strip()
env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=f'{home}/config',
           XDG_RUNTIME_DIR=f'{home}/run')
times = []
try:
    for _ in range(runs):
        xev = subprocess.Popen(['stdbuf', '-oL', 'xev', '-root', '-event', 'substructure'],
                               env=env, stdout=subprocess.PIPE, text=True)
        time.sleep(0.5)  # xev selects its events
        start = time.monotonic()
        proc = subprocess.Popen([saver, '/s'], env=env)
        for line in xev.stdout:
            if line.startswith('MapNotify'):
                times.append((time.monotonic() - start) * 1000)
                break
        proc.terminate(); proc.wait(); xev.terminate(); xev.wait()
        print(f'first map {times[-1]:.1f} ms')
    print(f'median {statistics.median(times):.1f} ms over {runs} runs')
finally:
    xvfb.terminate(); xvfb.wait()
