// Wire forms of the server's replies and requests: global states, transition
// lines, successor blocks and traces. Every reader is a generator that pulls
// one line at a time (`yield` returns the next line), so a reply can be parsed
// as its lines trickle in, whatever the chunking of the stream.

/// A parser that pulls lines and returns a value once it has seen enough.
export type LineParser<T> = Generator<void, T, string>;

/// One difference constraint: clock i minus clock j is below (strict) or at
/// most `bound`.
export interface Constraint {
  i: number;
  j: number;
  bound: number;
  strict: boolean;
}

/// A symbolic state: a location index per process, the zone as constraints
/// and the value of each integer variable.
export interface GlobalState {
  locations: number[];
  zone: Constraint[];
  integers: number[];
}

/// One edge of one process; `edge` counts from 0 in the process's edge list.
export interface TransitionRef {
  process: number;
  edge: number;
}

/// An enabled move: the transitions that take it (one, or a synchronising
/// pair) and the state it leads to.
export interface Successor {
  state: GlobalState;
  transitions: TransitionRef[];
  /// Whether a search would store the state; only with the storeFlag option.
  stored?: boolean;
}

/// A diagnostic trace: its steps from the initial state, the last
/// `loopLength` of them forming the loop of a liveness counterexample.
export interface Trace {
  prefixLength: number;
  loopLength: number;
  steps: Successor[];
}

/// Raised when a reply does not have the form its request calls for.
export class WireError extends Error {}

function integer(line: string): number {
  if (!/^-?\d+$/.test(line)) throw new WireError(`expected a number, got '${line}'`);
  return Number(line);
}

function* expectDot(): LineParser<void> {
  const line: string = yield;
  if (line !== ".") throw new WireError(`expected '.', got '${line}'`);
}

/// Lines up to the next "." line, the dot consumed.
export function* linesToDot(): LineParser<string[]> {
  const lines: string[] = [];
  for (let line: string = yield; line !== "."; line = yield) lines.push(line);
  return lines;
}

/// The zone part after the location part: groups of i, j, value, "." up to a
/// lone ".". The value is twice the constant plus one for a strict bound.
function* zonePart(): LineParser<Constraint[]> {
  const zone: Constraint[] = [];
  for (let line: string = yield; line !== "."; line = yield) {
    const i = integer(line);
    const j = integer(yield);
    const value = integer(yield);
    yield* expectDot();
    zone.push({ i, j, bound: Math.floor(value / 2), strict: (value & 1) === 1 });
  }
  return zone;
}

/// Reads a global state block whose first line is `first` (the caller has
/// already looked at it to tell a state from the end of a list).
export function* globalState(first: string): LineParser<GlobalState> {
  const locations: number[] = [];
  for (let line = first; line !== "."; line = yield) locations.push(integer(line));
  const zone = yield* zonePart();
  const integers = (yield* linesToDot()).map(integer);
  return { locations, zone, integers };
}

/// Transition lines ("process edge", the edge counted from 1) up to ".".
function* transitionLines(): LineParser<TransitionRef[]> {
  const refs: TransitionRef[] = [];
  for (const line of yield* linesToDot()) {
    const m = /^(\d+) (\d+)$/.exec(line);
    if (!m) throw new WireError(`expected a transition line, got '${line}'`);
    refs.push({ process: Number(m[1]), edge: Number(m[2]) - 1 });
  }
  return refs;
}

/// A state followed by its transition lines and "." (successor blocks and
/// trace steps), plus the stored flag and its "." when `storeFlag` is on.
export function* successor(first: string, storeFlag: boolean): LineParser<Successor> {
  const state = yield* globalState(first);
  const transitions = yield* transitionLines();
  if (!storeFlag) return { state, transitions };
  const flag: string = yield;
  if (flag !== "T" && flag !== "F") throw new WireError(`expected T or F, got '${flag}'`);
  yield* expectDot();
  return { state, transitions, stored: flag === "T" };
}

/// Successor blocks up to the closing "." of the list.
export function* successorList(storeFlag: boolean): LineParser<Successor[]> {
  const list: Successor[] = [];
  for (let line: string = yield; line !== "."; line = yield)
    list.push(yield* successor(line, storeFlag));
  return list;
}

/// A trace block: the two lengths, the steps, "."; null for the empty answer.
export function* trace(): LineParser<Trace | null> {
  const prefixLength = integer(yield);
  const loopLength = integer(yield);
  const steps = yield* successorList(false);
  if (steps.length === 0) return null;
  return { prefixLength, loopLength, steps };
}

/// The request form of a global state (the same lines the server writes).
export function encodeState(s: GlobalState): string {
  const zone = s.zone.map((c) => `${c.i}\n${c.j}\n${2 * c.bound + (c.strict ? 1 : 0)}\n.\n`);
  return [...s.locations.map((l) => `${l}\n`), ".\n", ...zone, ".\n", ...s.integers.map((v) => `${v}\n`), ".\n"].join("");
}

/// The request form of a transition reference (edge counted from 0).
export function encodeTransition(t: TransitionRef): string {
  return `${t.process}\n${t.edge}\n`;
}

/// The constraints of a zone as text over clock names, e.g. "x <= 5",
/// "y > 2", "x - y < 3". The reference clock is index 0; the implicit
/// lower bounds "x >= 0" are left out.
export function zoneText(zone: Constraint[], clocks: string[]): string[] {
  const name = (k: number) => clocks[k] ?? `clock${k}`;
  const out: string[] = [];
  for (const { i, j, bound, strict } of zone) {
    if (i === j) continue;
    if (i === 0) {
      if (bound === 0 && !strict) continue;
      out.push(`${name(j)} ${strict ? ">" : ">="} ${-bound}`);
    } else {
      const lhs = j === 0 ? name(i) : `${name(i)} - ${name(j)}`;
      out.push(`${lhs} ${strict ? "<" : "<="} ${bound}`);
    }
  }
  return out;
}
