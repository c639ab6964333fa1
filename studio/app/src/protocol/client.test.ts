import { describe, expect, it } from "vitest";
import { FatalServerError, ProtocolClient, ServerError, ServerRestarted } from "./client";
import type { Transport, TransportEvents } from "./transport";
import { zoneText, type GlobalState } from "./wire";

/// A transport whose server is the test: it records what was sent and lets
/// the test push output and restarts.
class FakeTransport implements Transport {
  sent: string[] = [];
  cancels = 0;
  events!: TransportEvents;
  send(text: string) {
    this.sent.push(text);
  }
  cancel() {
    this.cancels++;
  }
  listen(events: TransportEvents) {
    this.events = events;
  }
}

const greeting = "ok\n.\n";
const sentinel = "ok\nORVELA version 1.0 Beta, Nov 2002 -- server.\n.\n";

// Fischer with three processes, as the server writes its states.
const initial: GlobalState = {
  locations: [0, 0, 0],
  zone: [
    { i: 1, j: 2, bound: 0, strict: false },
    { i: 2, j: 3, bound: 0, strict: false },
    { i: 3, j: 1, bound: 0, strict: false },
  ],
  integers: [0],
};
const initialLines = "0\n0\n0\n.\n1\n2\n0\n.\n2\n3\n0\n.\n3\n1\n0\n.\n.\n0\n.\n";
const afterP1 = "1\n0\n0\n.\n1\n0\n4\n.\n.\n0\n.\n";
const afterP1State: GlobalState = { locations: [1, 0, 0], zone: [{ i: 1, j: 0, bound: 2, strict: false }], integers: [0] };
// x > 2 and x - y < 2 (strict bounds are odd values)
const inCs = "3\n0\n0\n.\n0\n1\n-3\n.\n1\n2\n5\n.\n.\n1\n.\n";
const inCsState: GlobalState = {
  locations: [3, 0, 0],
  zone: [
    { i: 0, j: 1, bound: -2, strict: true },
    { i: 1, j: 2, bound: 2, strict: true },
  ],
  integers: [1],
};
const strictBelow: GlobalState = { locations: [3], zone: [{ i: 0, j: 1, bound: -3, strict: true }], integers: [1] };

type Case = { name: string; call: (c: ProtocolClient) => Promise<unknown>; request: string; reply: string; expected: unknown };

// Each service's request as sent and its reply as the server writes it.
const cases: Case[] = [
  {
    name: "newSystem names, an empty integer line",
    call: (c) => c.newSystem("clock x;"),
    request: "newSystem\nclock x;\n.\n",
    reply: "ok\n\nt(0) x \n.\n",
    expected: { integers: [], clocks: ["t(0)", "x"] },
  },
  {
    name: "initial state",
    call: (c) => c.getInitialState(),
    request: "getInitialState\n",
    reply: "ok\n" + initialLines,
    expected: initial,
  },
  { name: "initial state outside its invariant", call: (c) => c.getInitialState(), request: "getInitialState\n", reply: "ok\n.\n", expected: null },
  {
    name: "successors with 1-based edge lines and stored flags",
    call: (c) => {
      c.setOptions({ storeFlag: true }); // not awaited: the flag holds for what follows
      return c.getTransitions(initial);
    },
    request: "getTransitions\n" + initialLines,
    reply: "ok\n.\n" + sentinel + "ok\n" + afterP1 + "0 1\n.\nT\n.\n" + afterP1 + "0 2\n1 3\n.\nF\n.\n.\n",
    expected: [
      { state: afterP1State, transitions: [{ process: 0, edge: 0 }], stored: true },
      { state: afterP1State, transitions: [{ process: 0, edge: 1 }, { process: 1, edge: 2 }], stored: false },
    ],
  },
  {
    name: "getSuccessor: states up to the sentinel, refs counted from 0",
    call: (c) => c.getSuccessor(strictBelow, [{ process: 0, edge: 2 }]),
    request: "getSuccessor\n3\n.\n0\n1\n-5\n.\n.\n1\n.\n1\n0\n2\n.\n",
    reply: "ok\n" + afterP1 + afterP1,
    expected: [afterP1State, afterP1State],
  },
  {
    name: "getSuccessor of a disabled pair",
    call: (c) => c.getSuccessor(strictBelow, [{ process: 0, edge: 0 }, { process: 1, edge: 4 }]),
    request: "getSuccessor\n3\n.\n0\n1\n-5\n.\n.\n1\n.\n2\n0\n0\n1\n4\n.\n",
    reply: "ok\n",
    expected: [],
  },
  {
    name: "verdict with a trace",
    call: (c) => c.modelCheck("E<> P1.cs"),
    request: "modelCheck\nE<> P1.cs\n.\n",
    reply: "ok\nT\n2\n0\n" + afterP1 + "0 1\n.\n" + inCs + "0 2\n.\n.\n",
    expected: {
      verdict: "satisfied",
      trace: {
        prefixLength: 2,
        loopLength: 0,
        steps: [
          { state: afterP1State, transitions: [{ process: 0, edge: 0 }] },
          { state: inCsState, transitions: [{ process: 0, edge: 1 }] },
        ],
      },
    },
  },
  { name: "maybe, no trace", call: (c) => c.modelCheck("A[] x <= 5\n"), request: "modelCheck\nA[] x <= 5\n.\n", reply: "ok\nM\n0\n0\n.\n", expected: { verdict: "maybe", trace: null } },
  {
    name: "options as digits",
    call: (c) => c.setOptions({ trace: true, order: 1 }),
    request: "setOptions\ntrace 1\norder 1\n.\n",
    reply: "ok\n.\n",
    expected: undefined,
  },
];

// Error replies, some followed by the errors of the lines the server had not
// read when it gave up.
const errors: Case[] = [
  { name: "multi-line parser message", call: (c) => c.modelCheck("E<> and"), request: "modelCheck\nE<> and\n.\n", reply: "error\nBad property\n\n.\n", expected: "Bad property\n" },
  {
    name: "state rejected half-way",
    call: (c) => c.startState({ locations: [7], zone: [], integers: [4] }),
    request: "startState\n7\n.\n.\n4\n.\n",
    reply: "error\nState inconsistent with current system\n.\nerror\n.: Unknown command\n.\nerror\n.: Unknown command\n.\nerror\n4: Unknown command\n.\nerror\n.: Unknown command\n.\n",
    expected: "State inconsistent with current system",
  },
  {
    name: "getSuccessor error",
    call: (c) => c.getSuccessor(strictBelow, [{ process: 0, edge: 9 }]),
    request: "getSuccessor\n3\n.\n0\n1\n-5\n.\n.\n1\n.\n1\n0\n9\n.\n",
    reply: "error\nState inconsistent with current system\n.\n",
    expected: "State inconsistent with current system",
  },
];

/// Runs one case with the server's whole output (greeting, reply, sentinel)
/// cut into the given chunks; the settled result and what was sent.
async function run(c: Case, cut: (out: string) => string[]) {
  const t = new FakeTransport();
  const client = new ProtocolClient(t);
  const result = c.call(client).then(
    (value) => ({ value }),
    (error: Error) => ({ error }),
  );
  const output = greeting + c.reply + sentinel;
  for (const chunk of cut(output)) t.events.data(chunk);
  return { settled: await result, sent: t.sent.join("") };
}

const splitsAt = (out: string) => Array.from({ length: out.length + 1 }, (_, k) => [out.slice(0, k), out.slice(k)]);

describe("protocol client", () => {
  it.each(cases)("parses $name at every cut of the stream", async (c) => {
    for (const chunks of [...splitsAt(greeting + c.reply + sentinel), [...(greeting + c.reply + sentinel)]]) {
      const { settled, sent } = await run(c, () => chunks);
      expect(settled).toEqual({ value: c.expected });
      expect(sent.endsWith(c.request + "version\n")).toBe(true);
    }
  });

  it.each(errors)("reports $name and stays in step", async (c) => {
    for (const chunks of splitsAt(greeting + c.reply + sentinel)) {
      const t = new FakeTransport();
      const client = new ProtocolClient(t);
      const failed = c.call(client).catch((e: Error) => e);
      const next = client.getInitialState();
      for (const chunk of chunks) t.events.data(chunk);
      const error = await failed;
      expect(error).toBeInstanceOf(ServerError);
      expect((error as Error).message).toBe(c.expected);
      expect(t.sent[0]).toBe(c.request + "version\n");
      t.events.data("ok\n.\n" + sentinel); // the next request's reply
      await expect(next).resolves.toBeNull();
    }
  });
});

describe("request bodies", () => {
  it.each(["process P {\n.\n}", ".", "a\n.\r\nb"])("%j would end early and is refused unsent", (text) => {
    const t = new FakeTransport();
    const client = new ProtocolClient(t);
    t.events.data(greeting);
    expect(() => client.newSystem(text)).toThrow(RangeError);
    expect(() => client.modelCheck(text)).toThrow(RangeError);
    expect(t.sent).toEqual([]);
  });
});

describe("protocol client across restarts", () => {
  it.each([
    { how: "cancelled", exit: null },
    { how: "out of time", exit: { code: null, signal: "SIGXCPU" } },
    { how: "out of memory", exit: { code: 1, signal: null } },
  ])("fails every pending request when the server is $how, then waits for the new greeting", async ({ exit }) => {
    const t = new FakeTransport();
    const client = new ProtocolClient(t);
    let restarts = 0;
    client.onRestarted(() => restarts++);
    t.events.data(greeting);
    const check = client.modelCheck("E<> P1.cs").catch((e) => e);
    const queued = client.version().catch((e) => e);
    if (exit) t.events.exit(exit.code, exit.signal);
    else client.cancel();
    t.events.restarted();
    for (const lost of [await check, await queued]) {
      expect(lost).toBeInstanceOf(ServerRestarted);
      expect((lost as ServerRestarted).exit).toEqual(exit);
    }
    expect(restarts).toBe(1);
    expect(t.cancels).toBe(exit ? 0 : 1);
    const next = client.getInitialState();
    expect(t.sent).toHaveLength(1); // not before the fresh server's greeting
    t.events.data(greeting + "ok\n.\n" + sentinel);
    await expect(next).resolves.toBeNull();
    expect(t.sent[1]).toBe("getInitialState\nversion\n");
  });

  it("holds requests back from a server that failed fatally", async () => {
    const t = new FakeTransport();
    const client = new ProtocolClient(t);
    const check = client.modelCheck("E<> P1.cs").catch((e) => e);
    const next = client.version().catch((e) => e);
    t.events.data(greeting + "error\nCAUGHT EXCEPTION: Memory allocation failed !!\n.\n");
    const error = await check;
    expect(error).toBeInstanceOf(FatalServerError);
    expect(error.message).toBe("Memory allocation failed !!");
    expect(t.sent).toHaveLength(1);
    t.events.exit(1, null);
    t.events.restarted();
    expect(await next).toBeInstanceOf(ServerRestarted);
  });

  it("goes on after a complaint of the bridge and fails everything once the socket closes", async () => {
    const t = new FakeTransport();
    const client = new ProtocolClient(t);
    const complaints: string[] = [];
    client.onBridgeError((m) => complaints.push(m));
    const first = client.getInitialState();
    t.events.data(greeting);
    t.events.error("malformed message");
    t.events.data("ok\n.\n" + sentinel);
    await expect(first).resolves.toBeNull();
    expect(complaints).toEqual(["malformed message"]);
    const lost = client.version();
    t.events.closed();
    await expect(lost).rejects.toThrow("connection to the bridge closed");
    await expect(client.version()).rejects.toThrow("connection to the bridge closed");
  });

  it("restarts the server when a reply has the wrong form", async () => {
    const t = new FakeTransport();
    const client = new ProtocolClient(t);
    const check = client.modelCheck("E<> P1.cs").catch((e) => e);
    t.events.data(greeting + "ok\nX\n");
    expect(await check).not.toBeInstanceOf(ServerError);
    expect(t.cancels).toBe(1);
  });
});

describe("zone as text", () => {
  it.each([
    [{ i: 1, j: 0, bound: 5, strict: false }, "x <= 5"],
    [{ i: 1, j: 0, bound: 5, strict: true }, "x < 5"],
    [{ i: 0, j: 2, bound: -3, strict: true }, "y > 3"],
    [{ i: 0, j: 2, bound: -3, strict: false }, "y >= 3"],
    [{ i: 2, j: 1, bound: -1, strict: false }, "y - x <= -1"],
  ])("%o reads %s", (c, text) => {
    expect(zoneText([c], ["t(0)", "x", "y"])).toEqual([text]);
  });
  it("leaves out the implicit bounds", () => {
    expect(zoneText([{ i: 0, j: 1, bound: 0, strict: false }, { i: 1, j: 1, bound: 0, strict: false }], ["t(0)", "x"])).toEqual([]);
  });
});
