// Serves the site's static files on 127.0.0.1 until stopped:
//   node web/serve.mjs DIR [PORT]
// PORT defaults to 8000; when it is taken a free port is used instead (0
// asks for one at once). The address goes to standard output on one line.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',  // streaming compilation wants exactly this
  '.png': 'image/png',
};

const root = path.resolve(process.argv[2] ?? '.');
const wanted = Number(process.argv[3] ?? 8000);

function answer(response, status, text) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
  response.end(`${text}\n`);
}

function fileFor(request) {
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  } catch {
    return null;
  }
  const file = path.join(root, name.endsWith('/') ? `${name}index.html` : name);
  return file.startsWith(root + path.sep) ? file : null;  // nothing outside the site
}

const server = http.createServer((request, response) => {
  if (request.method !== 'GET' && request.method !== 'HEAD') return answer(response, 405, 'GET only');
  const file = fileFor(request);
  if (file === null) return answer(response, 400, 'bad path');
  fs.readFile(file, (error, data) => {
    if (error) return answer(response, 404, 'not found');
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
      'Cache-Control': 'no-cache',  // a rebuilt site is seen at the next load
    });
    response.end(request.method === 'HEAD' ? undefined : data);
  });
});

server.on('error', (error) => {
  if (error.code !== 'EADDRINUSE' || server.triedFree) throw error;
  server.triedFree = true;
  server.listen(0, '127.0.0.1');
});
server.on('listening', () => {
  console.log(`http://127.0.0.1:${server.address().port}/`);
});
server.listen(wanted, '127.0.0.1');
