// A WebSocket session relays the protocol to its own server child, answers
// malformed messages with an error, replaces the child on cancel and when a
// limit ends it, and kills it when the socket closes.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import WebSocket from 'ws';
import { children, examples, greeting, openSession, startTestBridge, until } from './support.js';

const banner = 'ORVELA version 1.0 Beta, Nov 2002 -- server.';
const versionRequest = { type: 'send', text: 'version\n' };
const versionReply = `ok\n${banner}\n.\n`;

/** Fischer's protocol for `n` processes: enough states to exceed a small limit. */
function fischer(n) {
  const text = fs.readFileSync(path.join(examples, 'fischer.ta'), 'utf8');
  const processes = Array.from({ length: n }, (_, k) => `P${k + 1}`);
  return text
    .replace('int [0,3] id;', `int [0,${n}] id;`)
    .replace(/P1 := P\(1\);[\s\S]*$/, `${processes.map((p, k) => `${p} := P(${k + 1});`).join('\n')}\nsystem ${processes.join(', ')};\n`);
}

let bridge;
before(async () => {
  bridge = await startTestBridge();
});
after(() => bridge.stop());

test('relays version and newSystem to the session server', async () => {
  const session = await openSession(bridge.port);
  await session.expectText(greeting);
  session.send(versionRequest);
  await session.expectText(versionReply);
  const fischer = fs.readFileSync(path.join(examples, 'fischer.ta'), 'utf8');
  session.send({ type: 'send', text: `newSystem\n${fischer}\n.\n` });
  await session.expectText('ok\nid \nt(0) P1.x P2.x P3.x \n.\n');
  // A request split over several messages arrives whole.
  session.send({ type: 'send', text: 'vers' });
  session.send({ type: 'send', text: 'ion\n' });
  await session.expectText(versionReply);
  assert.deepEqual(session.events, []);
  await session.close();
});

test('answers each malformed message with an error and goes on', async () => {
  const session = await openSession(bridge.port);
  await session.expectText(greeting);
  const malformed = [
    'not json',
    '',
    'null',
    '[]',
    '"send"',
    '{"type":"send"}',
    '{"type":"send","text":5}',
    '{"type":"frobnicate"}',
    '{"text":"version\\n"}',
  ];
  for (const frame of malformed) {
    session.send(frame);
    const event = await session.nextEvent();
    assert.equal(event.type, 'error', frame);
    assert.equal(typeof event.message, 'string', frame);
  }
  session.socket.send(Buffer.from('version\n'), { binary: true });
  assert.equal((await session.nextEvent()).type, 'error');
  session.send(versionRequest);
  await session.expectText(versionReply);
  assert.deepEqual(session.events, []);
  await session.close();
});

test('cancel kills the child and a fresh one answers', async () => {
  const before = children();
  const session = await openSession(bridge.port);
  await session.expectText(greeting);
  const [first] = children().filter((pid) => !before.includes(pid));
  assert.ok(first, 'no server child started');
  // A long check, then cancel in the middle of it.
  session.send({ type: 'send', text: `newSystem\n${fischer(10)}\n.\n` });
  await until(() => session.text.endsWith('\n.\n'));
  session.text = '';
  session.send({ type: 'send', text: 'modelCheck\nE<> P1.cs and P2.cs\n.\n' });
  await new Promise((resolve) => setTimeout(resolve, 300));
  session.send({ type: 'cancel' });
  assert.deepEqual(await session.nextEvent(), { type: 'restarted' });
  await session.expectText(greeting);
  assert.ok(await until(() => !children().includes(first)), 'the cancelled child still runs');
  // The fresh child has no system.
  session.send({ type: 'send', text: 'getInitialState\n' });
  await session.expectText('error\nNo system received\n.\n');
  // Output of the old child not yet relayed when it is cancelled is dropped.
  session.send({ type: 'send', text: versionRequest.text.repeat(20000) });
  await until(() => session.text.length > 0);
  session.send({ type: 'cancel' });
  assert.deepEqual(await session.nextEvent(), { type: 'restarted' });
  await session.expectText(greeting);
  session.send(versionRequest);
  await session.expectText(versionReply);
  assert.deepEqual(session.events, []);
  await session.close();
});

test('closing the sockets leaves no child running', async () => {
  const before = children();
  const sessions = [];
  for (let k = 0; k < 3; ++k) sessions.push(await openSession(bridge.port));
  for (const session of sessions) await session.expectText(greeting);
  assert.equal(children().length, before.length + 3);
  for (const session of sessions) await session.close();
  assert.ok(await until(() => children().length === before.length), `children left: ${children()}`);
  // A session dropped without a closing handshake too.
  const dropped = await openSession(bridge.port);
  await dropped.expectText(greeting);
  dropped.socket.terminate();
  assert.ok(await until(() => children().length === before.length), `children left: ${children()}`);
});

test('refuses a WebSocket from another site', async () => {
  const socket = new WebSocket(`ws://127.0.0.1:${bridge.port}/ws`, { headers: { origin: 'http://example.com' } });
  socket.on('error', () => {});
  const status = await new Promise((resolve) => {
    socket.once('unexpected-response', (request, response) => resolve(response.statusCode));
    socket.once('open', () => resolve('open'));
  });
  assert.notEqual(status, 'open');
  socket.terminate();
});

test('a child past its time or memory limit ends with an exit message and is replaced', async (t) => {
  const cases = [
    { limits: { cpuSeconds: 1, memoryMiB: 4096 }, exit: { type: 'exit', code: null, signal: 'SIGXCPU' }, output: '' },
    {
      limits: { cpuSeconds: 60, memoryMiB: 48 },
      exit: { type: 'exit', code: 1, signal: null },
      output: 'error\nCAUGHT EXCEPTION: Memory allocation failed !!\n.\n',
    },
  ];
  const model = fischer(10);
  for (const { limits, exit, output } of cases) {
    const limited = await startTestBridge(limits);
    t.after(() => limited.stop());
    const session = await openSession(limited.port);
    await session.expectText(greeting);
    session.send({ type: 'send', text: `newSystem\n${model}\n.\n` });
    await until(() => session.text.endsWith('\n.\n'));
    session.text = '';
    session.send({ type: 'send', text: 'modelCheck\nE<> P1.cs and P2.cs\n.\n' });
    assert.deepEqual(await session.nextEvent(30000), exit);
    assert.equal(session.before, output);
    assert.deepEqual(await session.nextEvent(), { type: 'restarted' });
    await session.expectText(greeting);
    session.send(versionRequest);
    await session.expectText(versionReply);
    await session.close();
  }
});

test('a server that cannot start is reported once, not started again and again', async (t) => {
  const broken = await startTestBridge(undefined, '/nonexistent/orvela-server');
  t.after(() => broken.stop());
  const session = await openSession(broken.port);
  assert.equal((await session.nextEvent()).type, 'exit');
  assert.equal((await session.nextEvent()).type, 'error');
  session.send(versionRequest);
  assert.deepEqual(await session.nextEvent(), { type: 'error', message: 'no server is running' });
  await new Promise((resolve) => setTimeout(resolve, 200));
  assert.deepEqual(session.events, []);
  await session.close();
});
