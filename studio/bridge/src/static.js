// Static files of the application, served from one folder and never from
// outside it: the request path is decoded, joined to the folder, and the
// real path (symbolic links resolved) must still lie inside the folder's
// real path.

import fs from 'node:fs/promises';
import path from 'node:path';

const contentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json; charset=utf-8',
  '.map': 'application/json; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.txt': 'text/plain; charset=utf-8',
  '.ta': 'text/plain; charset=utf-8',
  '.q': 'text/plain; charset=utf-8',
};

/** Whether `inner` is `root` itself or lies below it. */
function isInside(root, inner) {
  return inner === root || inner.startsWith(root + path.sep);
}

/**
 * The file under `root` that the request path `urlPath` (the path part of
 * the URL, still percent-encoded) names: `{file}` when it exists inside the
 * folder (a folder's index.html for a folder), `{status: 403}` for a path
 * that leaves the folder or cannot be decoded, `{status: 404}` otherwise.
 */
export async function resolveStatic(root, urlPath) {
  let decoded;
  try {
    decoded = decodeURIComponent(urlPath);
  } catch {
    return { status: 403 };
  }
  // A NUL byte or a backslash is never part of a file name the bundler
  // writes; refusing them keeps the check simple.
  if (decoded.includes('\0') || decoded.includes('\\')) return { status: 403 };
  const base = path.resolve(root);
  const wanted = path.join(base, decoded);
  if (!isInside(base, wanted)) return { status: 403 };
  let real;
  let realBase;
  try {
    realBase = await fs.realpath(base);
    real = await fs.realpath(wanted);
  } catch {
    return { status: 404 };
  }
  if (!isInside(realBase, real)) return { status: 403 };
  try {
    let stat = await fs.stat(real);
    if (stat.isDirectory()) {
      real = path.join(real, 'index.html');
      // The index itself may be a link out of the folder.
      real = await fs.realpath(real);
      if (!isInside(realBase, real)) return { status: 403 };
      stat = await fs.stat(real);
    }
    if (!stat.isFile()) return { status: 404 };
  } catch {
    return { status: 404 };
  }
  return { file: real };
}

/**
 * Answers a GET or HEAD request for a file of the application folder `root`.
 */
export async function serveStatic(root, request, response, pathname) {
  const found = await resolveStatic(root, pathname);
  if (!found.file) {
    response.writeHead(found.status, { 'Content-Type': 'text/plain; charset=utf-8' });
    response.end(found.status === 403 ? 'Forbidden\n' : 'Not found\n');
    return;
  }
  let body;
  try {
    body = await fs.readFile(found.file);
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' });
    response.end('Not found\n');
    return;
  }
  const type = contentTypes[path.extname(found.file).toLowerCase()] ?? 'application/octet-stream';
  response.writeHead(200, {
    'Content-Type': type,
    'Content-Length': body.length,
    'Cache-Control': 'no-cache',
  });
  response.end(request.method === 'HEAD' ? undefined : body);
}
