// Images for browser tests: PNG (what the browser's screenshots are) and uncompressed TGA (what
// qvrender writes) read into { width, height, data } with 4 bytes (RGBA) per pixel, rows from
// the top; PNG written back for failure reports; and the comparison the tests use.
import zlib from 'node:zlib';
import fs from 'node:fs';

const signature = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// 8-bit RGB, RGBA, grey or grey+alpha PNGs without interlacing (what Chromium writes).
export function decodePng(buffer) {
  if (!buffer.subarray(0, 8).equals(signature)) throw new Error('not a PNG');
  let offset = 8, width = 0, height = 0, colourType = 0;
  const chunks = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('unsupported PNG (depth/interlace)');
      colourType = body[9];
    } else if (type === 'IDAT') chunks.push(body);
    else if (type === 'IEND') break;
    offset += 12 + length;
  }
  const channels = { 0: 1, 2: 3, 4: 2, 6: 4 }[colourType];
  if (!channels) throw new Error(`unsupported PNG colour type ${colourType}`);
  const raw = zlib.inflateSync(Buffer.concat(chunks));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : null;
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? out[x - channels] : 0;
      const b = up ? up[x] : 0;
      const c = up && x >= channels ? up[x - channels] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
      if (predictor === undefined) throw new Error(`bad PNG filter ${filter}`);
      out[x] = (line[x] + predictor) & 0xff;
    }
  }
  const data = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    const s = rows.subarray(i * channels, (i + 1) * channels);
    const grey = channels <= 2;
    data[i * 4] = s[0];
    data[i * 4 + 1] = grey ? s[0] : s[1];
    data[i * 4 + 2] = grey ? s[0] : s[2];
    data[i * 4 + 3] = channels === 4 ? s[3] : channels === 2 ? s[1] : 255;
  }
  return { width, height, data };
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
export function crc32(bytes) {
  let c = 0xffffffff;
  for (const byte of bytes) c = crcTable[(c ^ byte) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  const tail = Buffer.alloc(4);
  tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
  return Buffer.concat([head, body, tail]);
}

// RGBA image → PNG bytes (filter 0 on every row).
export function encodePng({ width, height, data }) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;
  header[9] = 6;
  const raw = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; ++y)
    data.copy(raw, y * (width * 4 + 1) + 1, y * width * 4, (y + 1) * width * 4);
  return Buffer.concat([signature, chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(raw)),
                        chunk('IEND', Buffer.alloc(0))]);
}

// Uncompressed true-colour TGA (type 2, 24 or 32 bits), either row order.
export function decodeTga(buffer) {
  const idLength = buffer[0], type = buffer[2];
  const width = buffer.readUInt16LE(12), height = buffer.readUInt16LE(14);
  const bits = buffer[16], descriptor = buffer[17];
  if (type !== 2 || (bits !== 24 && bits !== 32)) throw new Error('unsupported TGA');
  const bytes = bits / 8, topDown = (descriptor & 0x20) !== 0;
  const start = 18 + idLength + (buffer[1] ? buffer.readUInt16LE(5) * Math.ceil(buffer[7] / 8) : 0);
  const data = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; ++y) {
    const row = topDown ? y : height - 1 - y;
    for (let x = 0; x < width; ++x) {
      const s = start + (row * width + x) * bytes, d = (y * width + x) * 4;
      data[d] = buffer[s + 2];
      data[d + 1] = buffer[s + 1];
      data[d + 2] = buffer[s];
      data[d + 3] = bytes === 4 ? buffer[s + 3] : 255;
    }
  }
  return { width, height, data };
}

export function readImage(file) {
  const buffer = fs.readFileSync(file);
  return file.toLowerCase().endsWith('.tga') ? decodeTga(buffer) : decodePng(buffer);
}

// The part of image inside the rectangle (clipped to the image).
export function crop(image, x, y, width, height) {
  x = Math.max(0, Math.round(x));
  y = Math.max(0, Math.round(y));
  width = Math.min(Math.round(width), image.width - x);
  height = Math.min(Math.round(height), image.height - y);
  const data = Buffer.alloc(width * height * 4);
  for (let row = 0; row < height; ++row)
    image.data.copy(data, row * width * 4, ((y + row) * image.width + x) * 4,
                    ((y + row) * image.width + x + width) * 4);
  return { width, height, data };
}

// Compares the RGB of two images of the same size, leaving out a border of `margin` pixels.
// Returns the mean absolute difference per channel, the share of pixels whose largest channel
// difference exceeds `threshold`, and the largest difference.
export function compare(a, b, { margin = 0, threshold = 32 } = {}) {
  if (a.width !== b.width || a.height !== b.height)
    throw new Error(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
  let sum = 0, count = 0, far = 0, largest = 0;
  for (let y = margin; y < a.height - margin; ++y) {
    for (let x = margin; x < a.width - margin; ++x) {
      const i = (y * a.width + x) * 4;
      let worst = 0;
      for (let c = 0; c < 3; ++c) {
        const d = Math.abs(a.data[i + c] - b.data[i + c]);
        sum += d;
        worst = Math.max(worst, d);
      }
      if (worst > threshold) ++far;
      largest = Math.max(largest, worst);
      ++count;
    }
  }
  return { mean: sum / (count * 3), farShare: far / count, largest };
}

// How many different RGB colours the image holds (stops counting at limit).
export function countColours(image, limit = 1 << 20) {
  const seen = new Set();
  for (let i = 0; i < image.data.length && seen.size < limit; i += 4)
    seen.add((image.data[i] << 16) | (image.data[i + 1] << 8) | image.data[i + 2]);
  return seen.size;
}
