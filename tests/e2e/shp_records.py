"""The records of a shapefile's main file, read from its bytes for the checking scripts."""
import struct


def record_contents(path):
    """Each record's content (shape type first), in file order; the last may be cut short."""
    with open(path, 'rb') as f:
        data = f.read()
    pos = 100
    while pos + 8 <= len(data):
        length = struct.unpack('>i', data[pos + 4:pos + 8])[0] * 2
        yield data[pos + 8:pos + 8 + length]
        pos += 8 + length
