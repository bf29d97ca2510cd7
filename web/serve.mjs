// Serves the site's static files on 127.0.0.1 until stopped:
//   node web/serve.mjs DIR [PORT]
// PORT defaults to 8000; when it is taken a free port is used instead (0
// asks for one at once). The address goes to standard output on one line.
// A request path that cannot name a file of the site gets 400, a missing
// file 404; no request, however formed, ends the server or holds up
// another. Only regular files whose real path lies inside DIR's are
// served: a link out of the site, a FIFO, a device or a directory is 404.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pipeline } from 'node:stream';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',  // streaming compilation wants exactly this
  '.png': 'image/png',
  '.webp': 'image/webp',
};

const root = fs.realpathSync(path.resolve(process.argv[2] ?? '.'));
const wanted = Number(process.argv[3] ?? 8000);
const longestPath = 1024;  // the site's own paths are far shorter
// The query is the explorer's scene: the longest a scene can give (16
// circles and 16 walks over all of them, every number at full precision)
// is 5471 bytes, README "Scenes"; a page's own requests repeat it in their Referer.
const longestQuery = 16 * 1024;
const largestFile = 256 * 1024 * 1024;  // the site's largest, an animation, is a few MB

function answer(response, status, text) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
  response.end(`${text}\n`);
}

// The site's file that the request's target names, or null when the target
// cannot name one: not a plain path from the site's root ("*", a full URL),
// a path or a query too long, badly percent-encoded, or holding a control
// character, a backslash, an empty, "." or ".." segment in any spelling.
function fileFor(target) {
  const end = target.search(/[?#]/);
  const pathPart = end < 0 ? target : target.slice(0, end);
  if (!pathPart.startsWith('/') || pathPart.startsWith('//') || pathPart.length > longestPath ||
      target.length - pathPart.length > longestQuery + 1) return null;
  let name;
  try {
    name = decodeURIComponent(pathPart);
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

// The open file and its size, or null: the name must resolve, links and
// all, to a regular file inside the site. The type is checked before the
// open (a FIFO's open would wait for a writer), the open never waits nor
// follows a link, and the descriptor must be the very file checked.
async function openRegular(file) {
  try {
    const real = await fs.promises.realpath(file);
    if (!real.startsWith(root + path.sep)) return null;
    const seen = await fs.promises.stat(real);
    if (!seen.isFile() || seen.size > largestFile) return null;
    const { O_RDONLY, O_NONBLOCK, O_NOFOLLOW } = fs.constants;
    const handle = await fs.promises.open(real, O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
    const opened = await handle.stat();
    if (!opened.isFile() || opened.ino !== seen.ino || opened.dev !== seen.dev || opened.size > largestFile) {
      await handle.close();
      return null;
    }
    return { handle, size: opened.size };
  } catch {
    return null;
  }
}

async function serveFile(request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') return answer(response, 405, 'GET only');
  const file = fileFor(request.url);
  if (file === null) return answer(response, 400, 'bad path');
  const opened = await openRegular(file);
  if (opened === null) return answer(response, 404, 'not found');
  response.writeHead(200, {
    'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
    'Content-Length': opened.size,
    'Cache-Control': 'no-cache',  // a rebuilt site is seen at the next load
  });
  if (request.method === 'HEAD' || opened.size === 0) {
    await opened.handle.close();
    return response.end();
  }
  // Streamed, and no further than the size checked, should the file grow.
  pipeline(opened.handle.createReadStream({ start: 0, end: opened.size - 1 }), response, () => {});
}

// Room for a target of the longest path and query, and a Referer repeating it.
const server = http.createServer({ maxHeaderSize: 64 * 1024 }, (request, response) => {
  serveFile(request, response).catch((error) => {  // one request's fault, never the server's end
    console.error(`${request.url}: ${error.message}`);
    if (!response.headersSent) answer(response, 500, 'server error');
    else response.destroy();
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
