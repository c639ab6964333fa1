// The Studio bridge: an HTTP server on the loopback that serves the
// application's files, answers "parse this model" through the verifier, and
// gives each WebSocket at /ws its own verification server.

import http from 'node:http';
import { WebSocketServer } from 'ws';
import { describeModel } from './describe.js';
import { RelaySession } from './relay.js';
import { serveStatic } from './static.js';

/** The only address the bridge listens on. */
export const loopback = '127.0.0.1';
/** The largest model /api/describe accepts, in bytes. */
export const maximalModelBytes = 1024 * 1024;
/** The largest WebSocket message: a model and some framing. */
const maximalMessageBytes = 2 * maximalModelBytes;

/**
 * Whether a request may come from the page it names: no Origin (a program,
 * not a browser page) or an Origin on the loopback at the bridge's port.
 * A page of another site must not start servers through the user's browser.
 */
function fromOwnPage(request, port) {
  const origin = request.headers.origin;
  if (origin === undefined) return true;
  return origin === `http://${loopback}:${port}` || origin === `http://localhost:${port}`;
}

function reply(response, status, type, body) {
  response.writeHead(status, { 'Content-Type': type });
  response.end(body);
}

/**
 * Reads the request body, at most `limit` bytes; null when it is longer. The
 * rest of a longer body is read and dropped, so that the client, still
 * writing, receives the refusal instead of a reset connection; a body past
 * sixteen times the limit ends the connection.
 */
function readBody(request, limit) {
  return new Promise((resolve, reject) => {
    const chunks = [];
    let size = 0;
    request.on('data', (chunk) => {
      size += chunk.length;
      if (size <= limit) chunks.push(chunk);
      else if (size > 16 * limit) request.destroy();
    });
    request.on('end', () => resolve(size > limit ? null : Buffer.concat(chunks)));
    request.on('close', () => resolve(null));
    request.on('error', reject);
  });
}

async function answerDescribe(request, response, options) {
  const model = await readBody(request, maximalModelBytes);
  if (model === null) {
    response.setHeader('Connection', 'close');
    reply(response, 413, 'text/plain; charset=utf-8', 'The model is larger than 1 MiB\n');
    return;
  }
  // A parse takes well under a second; the limit only stops a runaway.
  const limits = { ...options.limits, cpuSeconds: Math.min(options.limits.cpuSeconds, 10) };
  const { status, body } = await describeModel(options.verifier, model, limits);
  reply(response, status, 'application/json; charset=utf-8', body);
}

/**
 * Starts a bridge. `options`: `port` (0 for any free one), `app` (the folder
 * of the built application), `server` and `verifier` (the programs), `limits`
 * ({cpuSeconds, memoryMiB} per child). Resolves to `{port, close()}` once it
 * listens; `close()` kills every child and stops listening.
 */
export async function startBridge(options) {
  const sessions = new Set();
  let port = options.port;
  const httpServer = http.createServer(async (request, response) => {
    try {
      const { pathname } = new URL(request.url, `http://${loopback}`);
      if (!fromOwnPage(request, port)) {
        reply(response, 403, 'text/plain; charset=utf-8', 'Forbidden\n');
      } else if (pathname === '/api/describe') {
        if (request.method === 'POST') await answerDescribe(request, response, options);
        else reply(response, 405, 'text/plain; charset=utf-8', 'POST a model\n');
      } else if (request.method === 'GET' || request.method === 'HEAD') {
        await serveStatic(options.app, request, response, pathname);
      } else {
        reply(response, 405, 'text/plain; charset=utf-8', 'Method not allowed\n');
      }
    } catch (error) {
      if (!response.headersSent) reply(response, 500, 'text/plain; charset=utf-8', `${error.message}\n`);
      else response.destroy();
    }
  });
  const sockets = new WebSocketServer({
    server: httpServer,
    path: '/ws',
    maxPayload: maximalMessageBytes,
    verifyClient: ({ req }) => fromOwnPage(req, port),
  });
  sockets.on('connection', (socket) => {
    const session = new RelaySession(socket, options.server, options.limits);
    sessions.add(session);
    socket.on('close', () => sessions.delete(session));
  });

  await new Promise((resolve, reject) => {
    httpServer.once('error', reject);
    httpServer.listen(options.port, loopback, resolve);
  });
  port = httpServer.address().port;
  return {
    port,
    close() {
      for (const session of sessions) session.close();
      for (const socket of sockets.clients) socket.terminate();
      sockets.close();
      return new Promise((resolve) => httpServer.close(() => resolve()));
    },
  };
}
