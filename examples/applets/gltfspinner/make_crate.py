#!/usr/bin/env python3
"""Writes the gltfspinner sample's data into the folder given: crate.gltf (a cube whose faces each
show the whole texture, under a node turned a little), crate.bin (its positions, normals, texture
coordinates and indices) and crate.png (a 64 x 64 coloured checker board)."""
import json, os, struct, sys, zlib

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)

# Faces: normal, then two axes spanning the face (u to the right, v up seen from outside).
faces = [((1, 0, 0), (0, 0, -1), (0, 1, 0)), ((-1, 0, 0), (0, 0, 1), (0, 1, 0)),
         ((0, 1, 0), (1, 0, 0), (0, 0, -1)), ((0, -1, 0), (1, 0, 0), (0, 0, 1)),
         ((0, 0, 1), (1, 0, 0), (0, 1, 0)), ((0, 0, -1), (-1, 0, 0), (0, 1, 0))]
positions, normals, uvs, indices = [], [], [], []
for n, u, v in faces:
    base = len(positions)
    for su, sv in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        positions.append([n[a] + su * u[a] + sv * v[a] for a in range(3)])
        normals.append(list(n))
        uvs.append([(su + 1) / 2, 1 - (sv + 1) / 2])  # glTF: v runs down the image
    indices += [base, base + 1, base + 2, base, base + 2, base + 3]

blob = b''.join(struct.pack('<3f', *p) for p in positions)
blob += b''.join(struct.pack('<3f', *n) for n in normals)
blob += b''.join(struct.pack('<2f', *t) for t in uvs)
blob += struct.pack('<%dH' % len(indices), *indices)
open(os.path.join(folder, 'crate.bin'), 'wb').write(blob)

count = len(positions)
views = [(0, 12 * count), (12 * count, 12 * count), (24 * count, 8 * count), (32 * count, 2 * len(indices))]
doc = {
    'asset': {'version': '2.0', 'generator': 'make_crate.py'},
    'scene': 0, 'scenes': [{'nodes': [0]}],
    'nodes': [{'rotation': [0.2588190, 0, 0, 0.9659258], 'children': [1]}, {'mesh': 0}],
    'meshes': [{'primitives': [{'attributes': {'POSITION': 0, 'NORMAL': 1, 'TEXCOORD_0': 2},
                                'indices': 3, 'material': 0}]}],
    'materials': [{'pbrMetallicRoughness': {'baseColorTexture': {'index': 0}}}],
    'textures': [{'source': 0}], 'images': [{'uri': 'crate.png'}],
    'accessors': [
        {'bufferView': 0, 'componentType': 5126, 'count': count, 'type': 'VEC3',
         'min': [-1, -1, -1], 'max': [1, 1, 1]},
        {'bufferView': 1, 'componentType': 5126, 'count': count, 'type': 'VEC3'},
        {'bufferView': 2, 'componentType': 5126, 'count': count, 'type': 'VEC2'},
        {'bufferView': 3, 'componentType': 5123, 'count': len(indices), 'type': 'SCALAR'}],
    'bufferViews': [{'buffer': 0, 'byteOffset': o, 'byteLength': l} for o, l in views],
    'buffers': [{'uri': 'crate.bin', 'byteLength': len(blob)}],
}
json.dump(doc, open(os.path.join(folder, 'crate.gltf'), 'w'), indent=1)

# The texture: 8 x 8 squares of two colours each row pair, with a dark frame.
size = 64
rows = b''
for y in range(size):
    row = bytearray([0])
    for x in range(size):
        if x < 2 or y < 2 or x >= size - 2 or y >= size - 2:
            row += bytes((40, 30, 20))
        elif (x // 8 + y // 8) % 2:
            row += bytes((200, 140, 60))
        else:
            row += bytes((60, 110 + 2 * y, 200))
    rows += bytes(row)
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b'')
open(os.path.join(folder, 'crate.png'), 'wb').write(png)
