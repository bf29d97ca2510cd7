// Serves the site's static files on 127.0.0.1 until stopped:
//   node web/serve.mjs DIR [PORT]
// PORT defaults to 8000; when it is taken a free port is used instead (0
// asks for one at once). The address goes to standard output on one line.
// A request path that cannot name a file of the site gets 400, a missing
// file 404; no request, however formed, ends the server.
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
const longestPath = 1024;  // the site's own paths are far shorter

function answer(response, status, text) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
  response.end(`${text}\n`);
}

// The site's file that the request's target names, or null when the target
// cannot name one: not a plain path from the site's root ("*", a full URL),
// too long, badly percent-encoded, or holding a control character, a
// backslash, an empty, "." or ".." segment in any spelling.
function fileFor(target) {
  if (!target.startsWith('/') || target.startsWith('//') || target.length > longestPath) return null;
  let name;
  try {
    name = decodeURIComponent(target.replace(/[?#].*$/s, ''));
  } catch {
    return null;
  }
  if (/[\x00-\x1f\x7f\\]/.test(name)) return null;
  const segments = name.slice(1).split('/');
  if (segments.at(-1) === '') segments[segments.length - 1] = 'index.html';
  if (segments.some((segment) => segment === '' || segment === '.' || segment === '..')) return null;
  const file = path.join(root, ...segments);
  return file.startsWith(root + path.sep) ? file : null;
}

function serveFile(request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') return answer(response, 405, 'GET only');
  const file = fileFor(request.url);
  if (file === null) return answer(response, 400, 'bad path');
  fs.readFile(file, (error, data) => {
    if (error) return answer(response, 404, 'not found');
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
      'Cache-Control': 'no-cache',  // a rebuilt site is seen at the next load
    });
    response.end(request.method === 'HEAD' ? undefined : data);
  });
}

const server = http.createServer((request, response) => {
  try {
    serveFile(request, response);
  } catch (error) {  // one request's fault, never the server's end
    console.error(`${request.url}: ${error.message}`);
    if (!response.headersSent) answer(response, 500, 'server error');
    else response.destroy();
  }
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
