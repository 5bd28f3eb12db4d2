"""What the conversion benchmarks share: writing their generated inputs (a shapefile's main
file and index from record contents, a table of one numeric ID field) and timing one run."""
import os
import struct
import subprocess
import time


def write_shapefile(folder, name, shape_type, contents, box):
    """NAME.shp and NAME.shx in folder from the records' contents (shape type first)."""
    body = bytearray()
    index = bytearray()
    offset = 100
    for number, content in enumerate(contents, 1):
        index += struct.pack('>2i', offset // 2, len(content) // 2)
        body += struct.pack('>2i', number, len(content) // 2) + content
        offset += 8 + len(content)

    def header(length):
        return (struct.pack('>i', 9994) + bytes(20) + struct.pack('>i', length // 2) +
                struct.pack('<2i', 1000, shape_type) + struct.pack('<4d', *box) + bytes(32))

    with open(os.path.join(folder, name + '.shp'), 'wb') as f:
        f.write(header(100 + len(body)) + body)
    with open(os.path.join(folder, name + '.shx'), 'wb') as f:
        f.write(header(100 + len(index)) + index)


def write_id_table(folder, name, records):
    """NAME.dbf in folder: one numeric field ID, 0 to records - 1."""
    table = bytearray(struct.pack('<B3BIHH20x', 3, 126, 1, 1, records, 65, 11))
    table += b'ID'.ljust(11, b'\0') + b'N' + bytes(4) + bytes([10, 0]) + bytes(14) + b'\r'
    for i in range(records):
        table += b' ' + str(i).rjust(10).encode()
    with open(os.path.join(folder, name + '.dbf'), 'wb') as f:
        f.write(table + b'\x1a')


def timed(command, env=None, output=None):
    """Seconds one run of command takes. An earlier output is removed first: replacing it would
    add the freeing of its pages."""
    if output and os.path.exists(output):
        os.remove(output)
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env=env)
    return time.perf_counter() - start
