// One browser session on the WebSocket: its own verification server child,
// whose standard input receives the client's text and whose standard output
// goes back to the client as it comes. The child is replaced when the client
// cancels and when it ends by itself (a limit), and killed when the socket
// closes.

import { StringDecoder } from 'node:string_decoder';
import { spawnLimited } from './limits.js';

/** Past this many bytes queued on the socket, the child's output waits. */
const highWater = 4 * 1024 * 1024;

/** The session of one WebSocket `socket`, over the server at `serverPath`. */
export class RelaySession {
  constructor(socket, serverPath, limits) {
    this.socket = socket;
    this.serverPath = serverPath;
    this.limits = limits;
    this.child = null;
    this.closed = false;
    socket.on('message', (data, isBinary) => this.receive(data, isBinary));
    socket.on('close', () => this.close());
    socket.on('error', () => this.close());
    this.start();
  }

  /** Sends one JSON message to the client, if it is still there. */
  send(message, done) {
    if (this.socket.readyState === this.socket.OPEN) this.socket.send(JSON.stringify(message), done);
  }

  /** Starts a fresh child and relays its output. */
  start() {
    const child = spawnLimited(this.serverPath, [], this.limits);
    this.child = child;
    const decoder = new StringDecoder('utf8');
    let spoke = false;
    child.stdout.on('data', (chunk) => {
      if (this.child !== child) return;
      spoke = true;
      const text = decoder.write(chunk);
      if (text === '') return;
      // A client that reads slower than the server writes holds the child
      // back instead of filling the bridge's memory.
      this.send({ type: 'data', text }, () => {
        if (child.stdout.isPaused() && this.socket.bufferedAmount <= highWater)
          child.stdout.resume();
      });
      if (this.socket.bufferedAmount > highWater) child.stdout.pause();
    });
    // The server's progress lines and diagnostics are not part of the
    // protocol; reading them keeps the pipe from filling.
    child.stderr.resume();
    // Writing to a child that has just died fails; its exit is reported.
    child.stdin.on('error', () => {});
    child.on('error', (error) => {
      if (this.child !== child) return;
      this.child = null;
      this.send({ type: 'error', message: `cannot start the server: ${error.message}` });
    });
    // 'close' comes after the last output, which must reach the client
    // before the exit message.
    child.on('close', (code, signal) => {
      if (this.child !== child || this.closed) return;
      this.child = null;
      this.send({ type: 'exit', code, signal });
      // A child that ended before its greeting cannot be started at all;
      // starting it again would only loop. A cancel tries once more.
      if (!spoke) {
        this.send({ type: 'error', message: 'the server ended before it greeted' });
        return;
      }
      this.start();
      this.send({ type: 'restarted' });
    });
  }

  /** Kills the current child; its exit is not reported. */
  stop() {
    const child = this.child;
    this.child = null;
    if (child && child.exitCode === null && child.signalCode === null) child.kill('SIGKILL');
  }

  /** Handles one client message; anything malformed is answered with an error. */
  receive(data, isBinary) {
    let message;
    try {
      if (isBinary) throw new Error('binary frames are not accepted');
      message = JSON.parse(data.toString('utf8'));
    } catch (error) {
      this.send({ type: 'error', message: `malformed message: ${error.message}` });
      return;
    }
    if (message?.type === 'send' && typeof message.text === 'string') {
      if (this.child) this.child.stdin.write(message.text);
      else this.send({ type: 'error', message: 'no server is running' });
    } else if (message?.type === 'cancel') {
      this.stop();
      this.start();
      this.send({ type: 'restarted' });
    } else {
      this.send({
        type: 'error',
        message: 'malformed message: expected {"type":"send","text":...} or {"type":"cancel"}',
      });
    }
  }

  /** The socket closed: the child goes with it. */
  close() {
    if (this.closed) return;
    this.closed = true;
    this.stop();
  }
}
