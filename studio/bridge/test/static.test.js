// The application's files are served, and nothing outside their folder is,
// however the path is spelt.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { request, startTestBridge } from './support.js';

let bridge;
before(async () => {
  bridge = await startTestBridge();
  // Links out of the folder: to a file and to its parent.
  fs.symlinkSync(path.join(bridge.top, 'secret.txt'), path.join(bridge.app, 'link.txt'));
  fs.symlinkSync(bridge.top, path.join(bridge.app, 'up'));
});
after(() => bridge.stop());

test('serves the files of the application folder with their types', async () => {
  const cases = [
    ['/', 'text/html; charset=utf-8', '<!doctype html><title>Studio</title>'],
    ['/index.html', 'text/html; charset=utf-8', '<!doctype html><title>Studio</title>'],
    ['/assets/main.js', 'text/javascript; charset=utf-8', 'console.log(1);'],
    ['/assets/main.js?v=2', 'text/javascript; charset=utf-8', 'console.log(1);'],
    ['/assets/../index.html', 'text/html; charset=utf-8', '<!doctype html><title>Studio</title>'],
  ];
  for (const [target, type, body] of cases) {
    const response = await request(bridge.port, { path: target });
    assert.equal(response.status, 200, target);
    assert.equal(response.headers['content-type'], type, target);
    assert.equal(response.body, body, target);
  }
});

test('refuses every path that leads out of the folder', async () => {
  const targets = [
    '/../secret.txt',
    '/../../../../etc/passwd',
    '/%2e%2e/secret.txt',
    '/%2E%2E%2Fsecret.txt',
    '/..%2fsecret.txt',
    '/assets/..%2f..%2fsecret.txt',
    '/assets/%2e%2e/%2e%2e/secret.txt',
    '/%252e%252e/secret.txt',
    '/..%5csecret.txt',
    '//etc/passwd',
    '/%2fetc%2fpasswd',
    `/${encodeURIComponent(path.join(bridge.top, 'secret.txt'))}`,
    '/link.txt',
    '/up/secret.txt',
    '/up/',
    '/index.html%00.js',
    '/%e0%a4%a',
    '/missing.js',
  ];
  for (const target of targets) {
    const response = await request(bridge.port, { path: target });
    assert.ok([403, 404].includes(response.status), `${target}: ${response.status}`);
    assert.ok(!response.body.includes('SECRET') && !response.body.includes('root:'), target);
  }
});

test('answers other methods and other sites without serving', async () => {
  const cases = [
    [{ method: 'POST', path: '/index.html' }, 405],
    [{ method: 'DELETE', path: '/index.html' }, 405],
    [{ method: 'GET', path: '/api/describe' }, 405],
    [{ path: '/index.html', headers: { origin: 'http://example.com' } }, 403],
    [{ method: 'HEAD', path: '/index.html' }, 200],
  ];
  for (const [options, status] of cases) {
    const response = await request(bridge.port, options);
    assert.equal(response.status, status, JSON.stringify(options));
  }
});
