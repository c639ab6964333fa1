// The protocol client: frames each service's request, sends one request at a
// time, and parses its reply from the raw output stream however it is cut.
//
// Every request is followed by a "version" request whose reply ("ok", the
// banner, ".") marks the end of the reply before it. The successor service
// needs this (its reply has no closing line), and it also resynchronises the
// stream when the server answers a request it rejected half-way: the lines it
// had not read yet come back as errors of their own, which are skipped.

import {
  encodeState,
  encodeTransition,
  globalState,
  linesToDot,
  successorList,
  trace,
  WireError,
  type GlobalState,
  type LineParser,
  type Successor,
  type Trace,
  type TransitionRef,
} from "./wire";
import type { Transport } from "./transport";

/// The server answered "error" with this message.
export class ServerError extends Error {}

/// The server failed beyond recovery ("CAUGHT EXCEPTION: ...", e.g. out of
/// memory) and is ending; a restart follows.
export class FatalServerError extends ServerError {}

/// The request was lost because the server was restarted: cancelled by the
/// client (`exit` null) or ended by itself (its exit code or signal).
export class ServerRestarted extends Error {
  constructor(readonly exit: { code: number | null; signal: string | null } | null) {
    super(exit ? `server ended (${exit.signal ?? `status ${exit.code}`})` : "server restarted");
  }
}

/// The names a loaded system declares; clock 0 is the reference clock.
export interface SystemNames {
  integers: string[];
  clocks: string[];
}

/// The answer to one property.
export interface CheckResult {
  verdict: "satisfied" | "not satisfied" | "maybe";
  trace: Trace | null;
}

/// Option values the server accepts; the client refuses others so that a
/// rejected option line cannot desynchronise the stream.
export interface Options {
  order?: 0 | 1;
  reduction?: 0 | 1 | 2;
  representation?: 0 | 1 | 2 | 3;
  reuse?: boolean;
  activeClocks?: boolean;
  trace?: boolean;
  normalise?: boolean;
  zoneFormat?: 0 | 1;
  storeFlag?: boolean;
}

type Reply<T> = { ok: true; value: T } | { ok: false; message: string };

interface Pending {
  text: string;
  parser: LineParser<unknown>;
  resolve(value: unknown): void;
  reject(error: Error): void;
}

/// Either "error", the message lines, "." or "ok" followed by `body`.
function* okOr<T>(body: () => LineParser<T>): LineParser<Reply<T>> {
  const first: string = yield;
  if (first === "error") return { ok: false, message: (yield* linesToDot()).join("\n") };
  if (first !== "ok") throw new WireError(`expected ok or error, got '${first}'`);
  return { ok: true, value: yield* body() };
}

const fatalPrefix = "CAUGHT EXCEPTION: ";

/// A fatal error reply ends the server: no sentinel reply will come.
function fatalCheck(reply: Reply<unknown>): void {
  if (!reply.ok && reply.message.startsWith(fatalPrefix)) throw new FatalServerError(reply.message.slice(fatalPrefix.length));
}

/// Skips stray error replies up to the sentinel's "ok", banner, ".".
function* sentinel(): LineParser<void> {
  for (;;) {
    const line: string = yield;
    if (line === "ok") break;
    if (line === "error") yield* linesToDot();
    else if (line !== "") throw new WireError(`unexpected '${line}' before the end of a reply`);
  }
  yield; // the banner
  yield* linesToDot();
}

/// A request's reply followed by the sentinel's; the reply's value or error.
function* framed<T>(body: () => LineParser<T>): LineParser<T> {
  const reply = yield* okOr(body);
  fatalCheck(reply);
  yield* sentinel();
  if (!reply.ok) throw new ServerError(reply.message);
  return reply.value;
}

function* nothing(): LineParser<void> {
  yield* linesToDot();
}

function* names(): LineParser<SystemNames> {
  const words = (line: string) => line.split(" ").filter((w) => w !== "");
  const integers = words(yield);
  const clocks = words(yield);
  yield* linesToDot();
  return { integers, clocks };
}

/// "." alone, or one global state block.
function* optionalState(): LineParser<GlobalState | null> {
  const first: string = yield;
  return first === "." ? null : yield* globalState(first);
}

/// Global state blocks up to the sentinel's reply, which is consumed too.
function* statesUntilOk(): LineParser<GlobalState[]> {
  const states: GlobalState[] = [];
  for (;;) {
    const first: string = yield;
    if (first === "ok") {
      yield; // the banner
      yield* linesToDot();
      return states;
    }
    states.push(yield* globalState(first));
  }
}

function* verdictAndTrace(): LineParser<CheckResult> {
  const v: string = yield;
  const verdicts = { T: "satisfied", F: "not satisfied", M: "maybe" } as const;
  if (!(v in verdicts)) throw new WireError(`expected a verdict, got '${v}'`);
  return { verdict: verdicts[v as keyof typeof verdicts], trace: yield* trace() };
}

/// A request body ends at a line holding "."; it must not be empty. A body
/// with such a line of its own would end early and its rest would be read
/// as service names, so it is refused before anything is sent.
function body(text: string): string {
  if (/^\.\r?$/m.test(text)) throw new RangeError("a line holding only '.' cannot be sent: it would end the request");
  return (text.endsWith("\n") ? text : text + "\n") + ".\n";
}

/// A client of one server over a raw transport.
export class ProtocolClient {
  private queue: Pending[] = [];
  private current: Pending | null = null;
  private partial = ""; // an incomplete last line
  private lines: string[] = []; // complete lines from `next` on are unread
  private next = 0;
  private greeting: LineParser<unknown> | null = null;
  private lastExit: { code: number | null; signal: string | null } | null = null;
  private storeFlag = false;
  private dying = false; // after a fatal error, until the restart
  private restartListeners: (() => void)[] = [];
  private errorListeners: ((message: string) => void)[] = [];
  private closed = false;

  constructor(private readonly transport: Transport) {
    transport.listen({
      data: (text) => this.receive(text),
      exit: (code, signal) => (this.lastExit = { code, signal }),
      restarted: () => this.restart(),
      error: (message) => this.errorListeners.forEach((l) => l(message)),
      closed: () => {
        this.closed = true;
        this.failAll(new ServerError("connection to the bridge closed"));
      },
    });
    this.expectGreeting();
  }

  /// Called after every restart of the server (which forgets the system).
  onRestarted(listener: () => void): void {
    this.restartListeners.push(listener);
  }

  /// Called with the bridge's complaints, which end no request.
  onBridgeError(listener: (message: string) => void): void {
    this.errorListeners.push(listener);
  }

  /// Loads a system; the names of its integers and clocks.
  newSystem(text: string): Promise<SystemNames> {
    return this.request("newSystem\n" + body(text), framed(names));
  }

  /// Sets options; the values are checked by their types.
  setOptions(options: Options): Promise<void> {
    const lines = Object.entries(options).map(([k, v]) => `${k} ${typeof v === "boolean" ? (v ? 1 : 0) : v}\n`);
    const reply = this.request("setOptions\n" + lines.join("") + ".\n", framed(nothing));
    // requests are answered in order: every later one sees the new flag
    if (options.storeFlag !== undefined) this.storeFlag = options.storeFlag;
    return reply;
  }

  /// The initial state, or null when it violates its invariant.
  getInitialState(): Promise<GlobalState | null> {
    return this.request("getInitialState\n", framed(optionalState));
  }

  /// Every enabled move of a state with its successor.
  getTransitions(state: GlobalState): Promise<Successor[]> {
    const storeFlag = this.storeFlag;
    return this.request("getTransitions\n" + encodeState(state), framed(() => successorList(storeFlag)));
  }

  /// The successors of a state by one transition or a synchronising pair.
  getSuccessor(state: GlobalState, transitions: TransitionRef[]): Promise<GlobalState[]> {
    if (transitions.length < 1 || transitions.length > 2) throw new RangeError("one or two transitions");
    const text =
      "getSuccessor\n" + encodeState(state) + `${transitions.length}\n` + transitions.map(encodeTransition).join("") + ".\n";
    return this.request(text, this.successorReply());
  }

  /// Makes a state the start of later searches.
  startState(state: GlobalState): Promise<void> {
    return this.request("startState\n" + encodeState(state), framed(nothing));
  }

  /// Checks one property.
  modelCheck(property: string): Promise<CheckResult> {
    return this.request("modelCheck\n" + body(property), framed(verdictAndTrace));
  }

  /// The server's banner line.
  version(): Promise<string> {
    return this.request(
      "version\n",
      framed(function* () {
        const banner: string = yield;
        yield* linesToDot();
        return banner;
      }),
    );
  }

  /// Kills the server (a long check) and starts a fresh one; every pending
  /// request fails with `ServerRestarted`.
  cancel(): void {
    this.transport.cancel();
  }

  // getSuccessor's reply has no closing line: its states run up to the
  // sentinel's "ok"; an error reply is followed by the whole sentinel.
  private *successorReply(): LineParser<GlobalState[]> {
    const first: string = yield;
    if (first === "error") {
      const message = (yield* linesToDot()).join("\n");
      fatalCheck({ ok: false, message });
      yield* sentinel();
      throw new ServerError(message);
    }
    if (first !== "ok") throw new WireError(`expected ok or error, got '${first}'`);
    return yield* statesUntilOk();
  }

  private request<T>(text: string, parser: LineParser<T>): Promise<T> {
    if (this.closed) return Promise.reject(new ServerError("connection to the bridge closed"));
    return new Promise<T>((resolve, reject) => {
      this.queue.push({ text: text + "version\n", parser, resolve: resolve as (v: unknown) => void, reject });
      this.pump();
    });
  }

  private expectGreeting(): void {
    this.greeting = linesToDot();
    this.greeting.next(); // primed: the next line is the greeting's "ok"
  }

  // Sends the next request once the greeting and the previous reply are in.
  private pump(): void {
    if (this.current || this.greeting || this.dying || this.queue.length === 0) return;
    this.current = this.queue.shift()!;
    this.current.parser.next(); // run to its first request for a line
    this.transport.send(this.current.text);
    this.drain();
  }

  private receive(text: string): void {
    const parts = (this.partial + text).replace(/\r/g, "").split("\n");
    this.partial = parts.pop()!;
    for (const line of parts) this.lines.push(line);
    this.drain();
  }

  // Feeds complete lines to whoever expects them; output that no request
  // has asked for yet waits.
  private drain(): void {
    while ((this.greeting || this.current) && this.next < this.lines.length) this.feed(this.lines[this.next++]);
    if (this.next === this.lines.length) {
      this.lines = [];
      this.next = 0;
    }
  }

  private feed(line: string): void {
    if (this.greeting) {
      if (this.greeting.next(line).done) {
        this.greeting = null;
        this.pump();
      }
      return;
    }
    const p = this.current!;
    let step: IteratorResult<void, unknown>;
    try {
      step = p.parser.next(line);
    } catch (e) {
      this.current = null;
      p.reject(e as Error);
      // a reply of the wrong form leaves the stream at an unknown place:
      // only a fresh server is in step again
      if (e instanceof WireError) this.transport.cancel();
      else if (e instanceof FatalServerError) this.dying = true;
      else this.pump();
      return;
    }
    if (step.done) {
      this.current = null;
      p.resolve(step.value);
      this.pump();
    }
  }

  private failAll(error: Error): void {
    const lost = this.current ? [this.current, ...this.queue] : this.queue;
    this.current = null;
    this.queue = [];
    for (const p of lost) p.reject(error);
  }

  private restart(): void {
    this.failAll(new ServerRestarted(this.lastExit));
    this.lastExit = null;
    this.partial = "";
    this.lines = [];
    this.next = 0;
    this.storeFlag = false;
    this.dying = false;
    this.expectGreeting();
    for (const l of this.restartListeners) l();
  }
}
