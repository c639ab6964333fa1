import { describe, expect, it } from "vitest";
import type { Process } from "./describe";
import { layoutProcess, processGraph, renderSvg } from "./graph";

const loc = (name: string, extra: Partial<Process["locations"][0]> = {}) => ({
  name,
  invariant: "",
  initial: false,
  committed: false,
  urgent: false,
  ...extra,
});
const edge = (source: string, target: string, guard = "", sync = "", updates = "") => ({ source, target, guard, sync, updates });

// Fischer's P, plus a self-loop, a pair of parallel edges and a committed
// and an urgent location: the shapes an edge or a mark is easily lost in.
const processes: Process[] = [
  {
    name: "P1",
    locations: [loc("A", { initial: true }), loc("req", { invariant: "x <= k" }), loc("wait"), loc("cs")],
    edges: [
      edge("A", "req", "id == 0", "", "x := 0"),
      edge("req", "wait", "x <= k", "", "x := 0, id := i"),
      edge("wait", "req", "id == 0", "", "x := 0"),
      edge("wait", "cs", "x > k, id == i"),
      edge("cs", "A", "", "", "id := 0"),
    ],
  },
  {
    name: "Gate",
    locations: [loc("free", { initial: true }), loc("busy", { committed: true }), loc("hold", { urgent: true })],
    edges: [edge("free", "free", "", "tick?"), edge("free", "busy", "", "go!"), edge("free", "busy", "", "stop!"), edge("busy", "hold"), edge("hold", "free", "n > 0", "leave?", "n := n - 1")],
  },
];

describe("process graph", () => {
  it.each(processes)("$name: a node per location, an edge per edge, labels as written", (p) => {
    const g = processGraph(p);
    expect(g.children!.map((n) => n.labels![0].text)).toEqual(p.locations.map((l) => (l.invariant ? `${l.name}\n${l.invariant}` : l.name)));
    expect(g.edges!.map((e) => [e.sources[0], e.targets[0]])).toEqual(
      p.edges.map((e) => [`L${p.locations.findIndex((l) => l.name === e.source)}`, `L${p.locations.findIndex((l) => l.name === e.target)}`]),
    );
    expect(g.edges!.map((e) => e.labels![0]?.text ?? "")).toEqual(p.edges.map((e) => [e.guard, e.sync, e.updates].filter(Boolean).join("\n")));
  });

  it("refuses an edge to a location the process does not have", () => {
    expect(() => processGraph({ ...processes[0], edges: [edge("A", "nowhere")] })).toThrow(/nowhere/);
  });

  it.each(processes)("$name: drawn with every edge from its source box to its target box and the marks", async (p) => {
    const laid = await layoutProcess(p);
    const svg = new DOMParser().parseFromString(renderSvg(p, laid, { current: 1 }), "image/svg+xml");
    const boxes = [...svg.querySelectorAll("g.location")].map((g) => {
      const r = g.querySelector("rect")!;
      const [x, y, w, h] = ["x", "y", "width", "height"].map((a) => Number(r.getAttribute(a)));
      return { i: Number(g.getAttribute("data-location")), x, y, w, h, classes: g.getAttribute("class")!.split(" ") };
    });
    expect(boxes.map((b) => b.i).sort()).toEqual(p.locations.map((_, i) => i));
    const near = (pt: number[], b: (typeof boxes)[0]) => pt[0] >= b.x - 1 && pt[0] <= b.x + b.w + 1 && pt[1] >= b.y - 1 && pt[1] <= b.y + b.h + 1;
    const paths = [...svg.querySelectorAll("g.edge")];
    expect(paths.map((g) => Number(g.getAttribute("data-edge")))).toEqual(p.edges.map((_, k) => k));
    for (const g of paths) {
      const e = p.edges[Number(g.getAttribute("data-edge"))];
      const pts = g.querySelector("path")!.getAttribute("d")!.split(" ").map((s) => s.slice(1).split(",").map(Number));
      const box = (name: string) => boxes[p.locations.findIndex((l) => l.name === name)];
      expect(near(pts[0], box(e.source)), `${e.source} -> ${e.target} starts at its source`).toBe(true);
      expect(near(pts[pts.length - 1], box(e.target)), `${e.source} -> ${e.target} ends at its target`).toBe(true);
      expect([...g.querySelectorAll("text")].map((t) => t.textContent)).toEqual([e.guard, e.sync, e.updates].filter(Boolean));
    }
    for (const b of boxes) {
      const l = p.locations[b.i];
      const expected = { initial: l.initial, committed: l.committed, urgent: l.urgent, current: b.i === 1 };
      for (const [cls, on] of Object.entries(expected)) expect(b.classes.includes(cls), `${l.name} ${cls}`).toBe(on);
    }
  });
});
