// The client against the real server: every query of the Fischer example
// gets the verdict listed beside it, and a trace replays step by step through
// getSuccessor. Needs the built server (ORVELA_SERVER, or the one in the build
// folder ORVELA_BUILD_DIR, by default build/); skipped, visibly, when there is
// none, unless a build folder was named (as make does): then it must be there.

import { spawn, type ChildProcess } from "node:child_process";
import { existsSync, readFileSync } from "node:fs";
import { resolve } from "node:path";
import { afterEach, describe, expect, it } from "vitest";
import { ProtocolClient } from "./client";
import type { Transport, TransportEvents } from "./transport";
import { parseQueries } from "../model/queries";

const root = resolve(__dirname, "../../../..");
const server = process.env.ORVELA_SERVER ?? resolve(root, process.env.ORVELA_BUILD_DIR ?? "build", "src/orvela-server");

/// The server as a child process, restarted on cancel like the bridge does.
class ChildTransport implements Transport {
  child!: ChildProcess;
  events!: TransportEvents;
  constructor() {
    this.start();
  }
  start() {
    const child = spawn(server, [], { stdio: ["pipe", "pipe", "inherit"] });
    // output of a killed server still in the pipe must not reach the client
    child.stdout!.setEncoding("utf8").on("data", (t: string) => child === this.child && this.events.data(t));
    this.child = child;
  }
  send(text: string) {
    this.child.stdin!.write(text);
  }
  cancel() {
    this.child.kill("SIGKILL");
    this.start();
    queueMicrotask(() => this.events.restarted());
  }
  listen(events: TransportEvents) {
    this.events = events;
  }
}

const example = (name: string) => readFileSync(resolve(root, "examples", name), "utf8");
let transport: ChildTransport | null = null;
afterEach(() => transport?.child.kill());

describe.skipIf(!process.env.ORVELA_BUILD_DIR && !existsSync(server))("client against the real server", () => {
  it("checks every Fischer query with the expected verdict", async () => {
    transport = new ChildTransport();
    const client = new ProtocolClient(transport);
    const names = await client.newSystem(example("fischer.ta"));
    expect(names).toEqual({ integers: ["id"], clocks: ["t(0)", "P1.x", "P2.x", "P3.x"] });
    const expected = example("fischer.expected")
      .split("\n")
      .filter((l) => l.trim() !== "")
      .map((l) => l.replace(/\s\s.*$/, ""));
    const verdicts = [];
    for (const q of parseQueries(example("fischer.q"))) verdicts.push((await client.modelCheck(q.text)).verdict);
    expect(verdicts).toEqual(expected);
  });

  it("replays a trace through getSuccessor and survives a cancel", async () => {
    transport = new ChildTransport();
    const client = new ProtocolClient(transport);
    await client.newSystem(example("fischer.ta"));
    await client.setOptions({ trace: true });
    const { trace } = await client.modelCheck("E<> P1.wait and P2.wait and P3.wait");
    let state = (await client.getInitialState())!;
    for (const step of trace!.steps) {
      const moves = await client.getTransitions(state);
      expect(moves.map((m) => m.transitions)).toContainEqual(step.transitions);
      const next = await client.getSuccessor(state, step.transitions);
      expect(next.map((s) => s.locations)).toEqual([step.state.locations]);
      state = next[0];
    }
    expect(state.locations).toEqual([2, 2, 2]);
    const lost = client.modelCheck("A<> P1.cs").catch((e) => e);
    client.cancel();
    expect(await lost).toBeInstanceOf(Error);
    await client.newSystem(example("fischer.ta"));
    expect((await client.modelCheck("E<> P1.cs")).verdict).toBe("satisfied");
  });
});
