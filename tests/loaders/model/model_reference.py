#!/usr/bin/env python3
"""Reads the sample glTF and OBJ files independently of the loader and writes one line per file:
name, triangles, vertices, textured groups, then the bounding box (min x y z, max x y z) that
the accessors' min/max (glTF, placed by the nodes' transforms) or the v lines (OBJ) give.
Usage: model_reference.py SAMPLE_FOLDER OUTPUT (an absent folder gives an empty table)."""
import json, math, os, struct, sys


def mat_mul(a, b):
    return [sum(a[k * 4 + r] * b[c * 4 + k] for k in range(4)) for c in range(4) for r in range(4)]


def local_matrix(node):
    if 'matrix' in node:
        return node['matrix']
    x, y, z, w = node.get('rotation', [0, 0, 0, 1])
    s = node.get('scale', [1, 1, 1])
    t = node.get('translation', [0, 0, 0])
    r = [1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w),
         2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w),
         2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)]
    m = [0.0] * 16
    for c in range(3):
        for row in range(3):
            m[c * 4 + row] = r[c * 3 + row] * s[c]
    m[12:15] = t
    m[15] = 1.0
    return m


def gltf_facts(path):
    data = open(path, 'rb').read()
    if data[:4] == b'glTF':
        length = struct.unpack_from('<I', data, 12)[0]
        doc = json.loads(data[20:20 + length])
    else:
        doc = json.loads(data)
    nodes = doc.get('nodes', [])
    if 'scenes' in doc:
        roots = doc['scenes'][doc.get('scene', 0)]['nodes']
    else:
        children = {c for n in nodes for c in n.get('children', [])}
        roots = [i for i in range(len(nodes)) if i not in children]
    tris = verts = 0
    textured = set()
    low, high = [math.inf] * 3, [-math.inf] * 3
    identity = [1.0 if i % 5 == 0 else 0.0 for i in range(16)]
    stack = [(r, identity) for r in roots]
    while stack:
        index, parent = stack.pop()
        node = nodes[index]
        world = mat_mul(parent, local_matrix(node))
        for prim in doc['meshes'][node['mesh']]['primitives'] if 'mesh' in node else []:
            mode = prim.get('mode', 4)
            if mode not in (4, 5, 6) or 'POSITION' not in prim['attributes']:
                continue
            pos = doc['accessors'][prim['attributes']['POSITION']]
            corners = doc['accessors'][prim['indices']]['count'] if 'indices' in prim else pos['count']
            material = doc.get('materials', [{}])[prim['material']] if 'material' in prim else {}
            # Double-sided materials are drawn from both sides: everything twice.
            sides = 2 if material.get('doubleSided') else 1
            tris += sides * (corners // 3 if mode == 4 else max(corners - 2, 0))
            verts += sides * pos['count']
            if 'baseColorTexture' in material.get('pbrMetallicRoughness', {}):
                textured.add(prim['material'])
            for corner in range(8):
                p = [pos['max'][a] if corner >> a & 1 else pos['min'][a] for a in range(3)]
                for a in range(3):
                    value = sum(world[k * 4 + a] * p[k] for k in range(3)) + world[12 + a]
                    low[a], high[a] = min(low[a], value), max(high[a], value)
        stack.extend((c, world) for c in node.get('children', []))
    return tris, verts, len(textured), low + high


def obj_facts(path):
    folder = os.path.dirname(path)
    tris = 0
    positions, used, textures, current = [], set(), {}, None
    for line in open(path, errors='replace'):
        words = line.split()
        if not words:
            continue
        if words[0] == 'v':
            positions.append([float(w) for w in words[1:4]])
        elif words[0] == 'f':
            tris += len(words) - 3
            used.add(current)
        elif words[0] == 'usemtl':
            current = words[1]
        elif words[0] == 'mtllib':
            name = None
            for mline in open(os.path.join(folder, words[1]), errors='replace'):
                m = mline.split()
                if m and m[0] == 'newmtl':
                    name = m[1]
                elif m and m[0] == 'map_Kd':
                    textures[name] = m[-1]
    low = [min(p[a] for p in positions) for a in range(3)]
    high = [max(p[a] for p in positions) for a in range(3)]
    # Vertices are corners with distinct (v, vt, vn): not counted here (-1).
    return tris, -1, len([m for m in used if m in textures]), low + high


def main():
    folder, output = sys.argv[1], sys.argv[2]
    lines = []
    for kind, reader, suffixes in (('gltf', gltf_facts, ('.gltf', '.glb')), ('obj', obj_facts, ('.obj',))):
        where = os.path.join(folder, kind)
        if not os.path.isdir(where):
            continue
        for name in sorted(os.listdir(where)):
            if name.lower().endswith(suffixes):
                tris, verts, textured, box = reader(os.path.join(where, name))
                lines.append(' '.join([kind + '/' + name, str(tris), str(verts), str(textured)] +
                                      ['%.9g' % v for v in box]))
    with open(output, 'w') as out:
        out.write(''.join(l + '\n' for l in lines))


main()
