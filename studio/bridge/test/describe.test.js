// POST /api/describe answers with the verifier's description of the model,
// or with its errors at their lines, and refuses bodies over the limit.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { examples, request, startTestBridge } from './support.js';

let bridge;
before(async () => {
  bridge = await startTestBridge();
});
after(() => bridge.stop());

function describe(body, headers = {}) {
  return request(bridge.port, { method: 'POST', path: '/api/describe', body, headers });
}

test('describes a model: its variables and every process with its locations and edges', async () => {
  const response = await describe(fs.readFileSync(path.join(examples, 'fischer.ta')));
  assert.equal(response.status, 200);
  assert.equal(response.headers['content-type'], 'application/json; charset=utf-8');
  const { ok, model } = JSON.parse(response.body);
  assert.equal(ok, true);
  assert.deepEqual(model.clocks, ['P1.x', 'P2.x', 'P3.x']);
  assert.deepEqual(model.integers, ['id']);
  assert.deepEqual(model.processes.map((p) => p.name), ['P1', 'P2', 'P3']);
  for (const process of model.processes) {
    assert.deepEqual(process.locations[1], { name: 'req', invariant: 'x<=k', initial: false, committed: false, urgent: false });
    assert.deepEqual(process.edges[3], { source: 'wait', target: 'cs', guard: 'x>k, id==i', sync: '', updates: '' });
    assert.equal(process.edges.length, 5);
  }
});

test('gives a model that does not load its errors with their lines', async () => {
  const text = fs.readFileSync(path.join(examples, 'fischer.ta'), 'utf8').replace('wait -> cs { guard x > k', 'wait -> cs { guard x > kk');
  const lines = text.split('\n');
  const line = lines.findIndex((l) => l.includes('x > kk')) + 1;
  const column = lines[line - 1].indexOf('kk') + 1;
  const cases = [
    [text, [{ line, column, message: "undeclared identifier 'kk' (did you mean 'k'?)" }]],
    ['', [{ line: 1, column: 1, message: 'unexpected end of input' }]],
  ];
  for (const [model, errors] of cases) {
    const response = await describe(model);
    assert.equal(response.status, 200);
    assert.deepEqual(JSON.parse(response.body), { ok: false, errors });
  }
});

test('refuses a model over 1 MiB and describes one just under', async () => {
  const limit = 1024 * 1024;
  const padded = (size) => {
    const model = 'clock x;\nprocess P { state a; init a; }\nsystem P;\n';
    return model + '/'.repeat(2) + ' '.repeat(size - model.length - 3) + '\n';
  };
  assert.equal((await describe(padded(limit + 1))).status, 413);
  const response = await describe(padded(limit));
  assert.equal(response.status, 200);
  assert.equal(JSON.parse(response.body).ok, true);
  // Without a length announced, the limit holds all the same.
  assert.equal((await describe(padded(limit + 1), { 'transfer-encoding': 'chunked' })).status, 413);
});
