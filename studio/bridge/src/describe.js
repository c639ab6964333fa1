// "Parse this model": the verifier's --describe run over the model text on
// its standard input, under the same kind of limits as the server children.

import { spawnLimited } from './limits.js';

/**
 * Runs `verifierPath --describe -` on `model` (a Buffer). Resolves to
 * `{status, body}`: 200 and the verifier's JSON for a model that loads or
 * does not (its errors with their places), 500 and a JSON error for a run
 * that fails otherwise.
 */
export function describeModel(verifierPath, model, limits) {
  return new Promise((resolve) => {
    const child = spawnLimited(verifierPath, ['--describe', '-'], limits);
    const out = [];
    const err = [];
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => err.push(chunk));
    child.stdin.on('error', () => {});
    const failure = (message) => ({
      status: 500,
      body: JSON.stringify({ ok: false, errors: [{ line: 0, column: 0, message }] }),
    });
    child.on('error', (error) => resolve(failure(`cannot start the verifier: ${error.message}`)));
    child.on('close', (code, signal) => {
      const text = Buffer.concat(out).toString('utf8');
      if (code === 0 || code === 3) {
        try {
          JSON.parse(text);
          resolve({ status: 200, body: text });
          return;
        } catch {
          // Reported below as a failure of the run.
        }
      }
      const reason = Buffer.concat(err).toString('utf8').trim() || `ended with ${signal ?? `status ${code}`}`;
      resolve(failure(`the verifier failed: ${reason}`));
    });
    child.stdin.end(model);
  });
}
