#!/usr/bin/env node
// orvela-studio: starts the Studio bridge and prints its address.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { startBridge } from './bridge.js';
import { prlimitPath } from './limits.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');

const usage = `usage: orvela-studio [options]
  --port N          port on 127.0.0.1 (default 8080; 0 picks a free one)
  --server FILE     the verification server (default build/src/orvela-server)
  --verifier FILE   the command-line verifier (default build/tools/orvela)
  --app DIR         the built application (default studio/app/dist)
  --cpu-seconds N   CPU time of each server child (default 300)
  --memory-mib N    address space of each server child (default 4096)
`;

function fail(message) {
  process.stderr.write(`orvela-studio: ${message}\n`);
  process.exit(3);
}

function positive(name, text) {
  const value = Number(text);
  if (!Number.isFinite(value) || value < 0 || (value === 0 && name !== 'port'))
    fail(`--${name} expects a ${name === 'port' ? 'port number' : 'positive number'}, not '${text}'`);
  return value;
}

function executable(name, file) {
  try {
    fs.accessSync(file, fs.constants.X_OK);
  } catch {
    fail(`${name} ${file} is not an executable file (build the C++ part first: make build)`);
  }
  return file;
}

let values;
try {
  ({ values } = parseArgs({
    options: {
      port: { type: 'string', default: '8080' },
      server: { type: 'string', default: path.join(root, 'build/src/orvela-server') },
      verifier: { type: 'string', default: path.join(root, 'build/tools/orvela') },
      app: { type: 'string', default: path.join(root, 'studio/app/dist') },
      'cpu-seconds': { type: 'string', default: '300' },
      'memory-mib': { type: 'string', default: '4096' },
      help: { type: 'boolean', short: 'h' },
    },
  }));
} catch (error) {
  fail(`${error.message}\n${usage}`);
}
if (values.help) {
  process.stdout.write(usage);
  process.exit(0);
}
const port = positive('port', values.port);
if (!Number.isInteger(port) || port > 65535) fail(`--port expects a port number, not '${values.port}'`);
executable('prlimit', prlimitPath);
if (!fs.existsSync(path.join(values.app, 'index.html')))
  process.stderr.write(`orvela-studio: warning: ${values.app} holds no index.html (build the application: npm run build in studio/app)\n`);

try {
  const bridge = await startBridge({
    port,
    app: path.resolve(values.app),
    server: executable('server', path.resolve(values.server)),
    verifier: executable('verifier', path.resolve(values.verifier)),
    limits: {
      cpuSeconds: positive('cpu-seconds', values['cpu-seconds']),
      memoryMiB: positive('memory-mib', values['memory-mib']),
    },
  });
  process.stdout.write(`ORVELA Studio at http://127.0.0.1:${bridge.port}/\n`);
  const stop = () => bridge.close().then(() => process.exit(0));
  process.on('SIGINT', stop);
  process.on('SIGTERM', stop);
} catch (error) {
  fail(`cannot listen on 127.0.0.1:${port}: ${error.message}`);
}
