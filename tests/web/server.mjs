// A static HTTP server for browser tests: serves one folder on 127.0.0.1 at a free port, nothing
// outside it. Wasm files get their MIME type (the browser compiles them while they stream).
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.wasm': 'application/wasm',
  '.qva': 'application/qv-applet',
  '.png': 'image/png',
  '.tga': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
};

// Starts serving root. Resolves to { url, port, close() }; every request is added to `log`
// (method, path, status) when one is given; headers(path), when given, adds or replaces
// response headers (a wrong Content-Type, a security policy).
export function serveFolder(root, { log = null, headers = null } = {}) {
  const base = fs.realpathSync(root);
  const server = http.createServer((request, response) => {
    const finish = (status, body, type = 'text/plain; charset=utf-8') => {
      if (log) log.push({ method: request.method, path: request.url, status });
      response.writeHead(status, { 'Content-Type': type, 'Cache-Control': 'no-store',
                                   ...(headers ? headers(request.url) : {}) });
      response.end(body);
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') return finish(405, 'method');
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    } catch {
      return finish(400, 'bad path');
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.resolve(base, '.' + name);
    // Links may point anywhere inside the build; nothing resolves outside the served folder.
    let real;
    try {
      real = fs.realpathSync(file);
    } catch {
      return finish(404, 'not found');
    }
    if (real !== base && !real.startsWith(base + path.sep) && !file.startsWith(base + path.sep))
      return finish(403, 'outside');
    fs.readFile(real, (error, data) => {
      if (error) return finish(404, 'not found');
      finish(200, request.method === 'HEAD' ? undefined : data,
             types[path.extname(real).toLowerCase()] || 'application/octet-stream');
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      resolve({
        port,
        url: `http://127.0.0.1:${port}/`,
        close: () => new Promise((done) => {
          server.closeAllConnections?.();
          server.close(() => done());
        }),
      });
    });
  });
}
