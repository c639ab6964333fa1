// Shared pieces of the bridge tests: the built programs, a bridge over a
// temporary application folder, a WebSocket session that collects what the
// bridge sends, and the children of this process as /proc lists them.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import WebSocket from 'ws';
import { startBridge } from '../src/bridge.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const build = path.resolve(root, process.env.ORVELA_BUILD_DIR ?? 'build');
export const serverPath = path.join(build, 'src/orvela-server');
export const verifierPath = path.join(build, 'tools/orvela');
export const examples = path.join(root, 'examples');

/** The server's greeting, with which every child's output starts. */
export const greeting = 'ok\n.\n';

/** Waits until `condition()` holds, for at most `ms` milliseconds. */
export async function until(condition, ms = 5000) {
  const end = Date.now() + ms;
  while (!condition()) {
    if (Date.now() > end) return false;
    await new Promise((resolve) => setTimeout(resolve, 10));
  }
  return true;
}

/**
 * A bridge on a free port over a fresh folder `top/app` holding an index and
 * one asset, with `top/secret.txt` beside it, over `server`. `limits`
 * default to generous.
 */
export async function startTestBridge(limits = { cpuSeconds: 60, memoryMiB: 4096 }, server = serverPath) {
  const top = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-bridge-'));
  const app = path.join(top, 'app');
  fs.mkdirSync(path.join(app, 'assets'), { recursive: true });
  fs.writeFileSync(path.join(app, 'index.html'), '<!doctype html><title>Studio</title>');
  fs.writeFileSync(path.join(app, 'assets', 'main.js'), 'console.log(1);');
  fs.writeFileSync(path.join(top, 'secret.txt'), 'SECRET');
  const bridge = await startBridge({ port: 0, app, server, verifier: verifierPath, limits });
  return {
    ...bridge,
    top,
    app,
    async stop() {
      await bridge.close();
      fs.rmSync(top, { recursive: true, force: true });
    },
  };
}

/**
 * A raw HTTP request to the bridge, the path sent exactly as given (no
 * normalisation by a URL parser). Resolves to {status, headers, body}.
 */
export function request(port, { method = 'GET', path: target = '/', headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    const outgoing = http.request({ host: '127.0.0.1', port, method, path: target, headers }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () =>
        resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks).toString('utf8') }),
      );
    });
    outgoing.on('error', reject);
    outgoing.end(body);
  });
}

/**
 * A WebSocket session: `text` accumulates the relayed server output since
 * the last message of another kind, `events` holds those messages in order.
 */
export async function openSession(port, headers = {}) {
  const socket = new WebSocket(`ws://127.0.0.1:${port}/ws`, { headers });
  const session = {
    socket,
    text: '',
    events: [],
    send(message) {
      socket.send(typeof message === 'string' ? message : JSON.stringify(message));
    },
    /** Waits for exactly `expected` as the next output, and consumes it. */
    async expectText(expected, ms = 5000) {
      await until(() => session.text.length >= expected.length, ms);
      assert.equal(session.text, expected);
      session.text = '';
    },
    /**
     * Waits for the next message of a kind other than data and consumes it;
     * `before` is then the output relayed just before it.
     */
    async nextEvent(ms = 5000) {
      await until(() => session.events.length > 0, ms);
      assert.ok(session.events.length > 0, 'no message came');
      const { message, before } = session.events.shift();
      session.before = before;
      return message;
    },
    async close() {
      socket.close();
      await until(() => socket.readyState === WebSocket.CLOSED);
    },
  };
  socket.on('message', (data) => {
    const message = JSON.parse(data.toString('utf8'));
    if (message.type === 'data') {
      session.text += message.text;
    } else {
      // The output before a message stays with it: what follows belongs to
      // what the message announced (a fresh child, say).
      session.events.push({ message, before: session.text });
      session.text = '';
    }
  });
  await new Promise((resolve, reject) => {
    socket.once('open', resolve);
    socket.once('error', reject);
  });
  return session;
}

/** The process ids of the living children of this process. */
export function children() {
  const pids = [];
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    let stat;
    try {
      stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
    } catch {
      continue; // ended meanwhile
    }
    // The command name may hold spaces and parentheses: the fields after it
    // follow the last ')'.
    const [state, ppid] = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    if (Number(ppid) === process.pid && state !== 'Z') pids.push(Number(entry));
  }
  return pids;
}
