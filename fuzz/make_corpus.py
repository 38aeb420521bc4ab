#!/usr/bin/env python3
"""Makes the small seed corpus of the fuzz targets from a sample world
(tarvo-worldgen --out WORLD) and a store registered from it (STORE).

    make_corpus.py WORLD STORE OUT
"""
import os
import sys

world, store, out = sys.argv[1:4]


def put(target, name, data):
    d = os.path.join(out, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), 'wb') as f:
        f.write(data)


def first_lines(path, n):
    with open(path, 'rb') as f:
        return b''.join(f.readlines()[:n])


def files(root):
    for base, _, names in sorted(os.walk(root)):
        for n in sorted(names):
            yield os.path.join(base, n)


# One received record of every kind the world holds, in both dispatch modes.
seen = set()
for path in files(world):
    if not path.endswith('.jvd'):
        continue
    with open(path, 'rb') as f:
        record = f.readline()
    kind = record[:2].decode('ascii', 'replace')
    if kind in seen:
        continue
    seen.add(kind)
    put('fuzz_record_store', kind + '-registration', b'\x00' + record)
    if kind in ('UM', 'BR', 'HN', 'SK', 'CK'):
        put('fuzz_record_store', kind + '-conversion', b'\x01' + record)

# The real-time files of the world's race day, one seed per data spec.
for spec in ('0B11', '0B12', '0B14', '0B30'):
    d = os.path.join(world, spec)
    if os.path.isdir(d):
        name = sorted(os.listdir(d))[0]
        put('fuzz_live', spec, first_lines(os.path.join(d, name), 2 if spec == '0B30' else 12))

# A few stored lines of each family of the store.
done = set()
for path in files(store):
    family = os.path.relpath(path, store).split(os.sep)[0]
    if family in done:
        continue
    done.add(family)
    lines = first_lines(path, 3)
    if len(lines) > 20000:
        lines = first_lines(path, 1)
    if len(lines) <= 65536:  # the trifecta odds line stays out: too big a seed
        put('fuzz_store_lines', family, lines)

# The settings file and texts in CP932.
put('fuzz_inifile', 'tarvo.ini', open(os.path.join(os.path.dirname(store.rstrip('/')), 'tarvo.ini'), 'rb').read())
put('fuzz_inifile', 'odd.ini', b'[SYS_INF]\r\ndir\r\n=x\r\n[SYS_INF]\r\naccess = 0 \r\n[]\r\nkey=value')
put('fuzz_text', 'names', 'サクラバクシンオー　ﾊﾝﾃﾞ　芝１６００ｍ'.encode('cp932'))
put('fuzz_text', 'mixed', b'\x82\xa0\x81\x40abc\xff\x80\x82')
