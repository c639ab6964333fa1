import { describe, expect, it } from "vitest";
import { SimulationPath } from "./path";

const s = (l: number) => ({ locations: [l], zone: [], integers: [] });
const t = (edge: number) => [{ process: 0, edge }];

describe("simulation path", () => {
  it("drops the steps after the position when a move is taken from there", () => {
    const p = new SimulationPath(s(0), [1, 2, 3].map((l) => ({ state: s(l), transitions: t(l) })));
    p.go(1);
    p.take(t(9), s(9));
    expect(Array.from({ length: p.length }, (_, k) => p.step(k).state.locations[0])).toEqual([0, 1, 9]);
    expect(p.position).toBe(2);
    expect(p.current.via).toEqual(t(9));
  });
  it.each([[-1, 0], [2, 2], [7, 3]])("go(%i) stays inside the path at %i", (k, at) => {
    const p = new SimulationPath(s(0), [1, 2, 3].map((l) => ({ state: s(l), transitions: t(l) })));
    p.go(k);
    expect(p.position).toBe(at);
  });
});
