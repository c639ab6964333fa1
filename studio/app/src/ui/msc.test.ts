import { describe, expect, it } from "vitest";
import type { ModelDescription } from "../model/describe";
import { mscSvg } from "./msc";
import type { PathStep } from "./path";

const loc = (name: string) => ({ name, invariant: "", initial: false, committed: false, urgent: false });
const edge = (source: string, target: string, sync = "") => ({ source, target, guard: "", sync, updates: "" });
const model: ModelDescription = {
  clocks: [],
  integers: [],
  processes: [
    { name: "Train", locations: [loc("far"), loc("near")], edges: [edge("far", "near", "appr!"), edge("near", "far")] },
    { name: "Gate", locations: [loc("up"), loc("down")], edges: [edge("up", "down", "appr?")] },
    { name: "Bell", locations: [loc("quiet")], edges: [edge("quiet", "quiet", "appr?")] },
  ],
};
const state = { locations: [0, 0, 0], zone: [], integers: [] };
const step = (...via: [number, number][]): PathStep => ({ state, via: via.map(([process, edge]) => ({ process, edge })) });

describe("message-sequence chart", () => {
  it.each([
    { name: "internal edge", steps: [step(), step([0, 1])], arrows: [], boxes: ["near → far"] },
    { name: "sender listed first", steps: [step(), step([0, 0], [1, 0])], arrows: [[0, 1]], boxes: [] },
    { name: "receiver listed first", steps: [step(), step([1, 0], [0, 0])], arrows: [[0, 1]], boxes: [] },
    { name: "broadcast to two", steps: [step(), step([2, 0], [0, 0], [1, 0])], arrows: [[0, 2], [0, 1]], boxes: [] },
    { name: "mixed", steps: [step(), step([0, 0], [1, 0]), step([0, 1])], arrows: [[0, 1]], boxes: ["near → far"] },
  ])("$name", ({ steps, arrows, boxes }) => {
    const doc = new DOMParser().parseFromString(mscSvg(model, steps, (k) => `zone of ${k}`), "image/svg+xml");
    expect(doc.querySelectorAll("g.lifeline")).toHaveLength(3);
    const messages = [...doc.querySelectorAll("line.message")].map((l) => [Number(l.getAttribute("data-from")), Number(l.getAttribute("data-to"))]);
    expect(messages).toEqual(arrows);
    expect([...doc.querySelectorAll("g.step")].map((g) => g.querySelector("title")!.textContent)).toEqual(steps.slice(1).map((_, k) => `zone of ${k + 1}`));
    expect([...doc.querySelectorAll("rect.internal + text")].map((t) => t.textContent)).toEqual(boxes);
    // an arrow runs from its sender's lifeline to its receiver's
    const lifelineX = [...doc.querySelectorAll("g.lifeline line")].map((l) => Number(l.getAttribute("x1")));
    for (const l of doc.querySelectorAll("line.message")) {
      expect(Number(l.getAttribute("x1"))).toBe(lifelineX[Number(l.getAttribute("data-from"))]);
      expect(Number(l.getAttribute("x2"))).toBe(lifelineX[Number(l.getAttribute("data-to"))]);
    }
  });
});
