// A process drawn as an automaton: its locations and edges become an ELK
// graph, ELK lays it out, and the laid-out graph becomes SVG text.

import type { ElkExtendedEdge, ElkLabel, ElkNode } from "elkjs/lib/elk-api";
import type { Process } from "./describe";

const charWidth = 7; // of the 12px monospace font the drawing uses
const lineHeight = 15;

function label(id: string, lines: string[]): ElkLabel & { width: number; height: number } {
  const width = Math.max(...lines.map((l) => l.length), 1) * charWidth + 4;
  return { id, text: lines.join("\n"), width, height: lines.length * lineHeight };
}

/// The label lines of an edge: guard, synchronisation and updates, each
/// when present.
export function edgeLines(e: { guard: string; sync: string; updates: string }): string[] {
  return [e.guard, e.sync, e.updates].filter((t) => t !== "");
}

/// The label lines of a location: its name, then its invariant if any.
function locationLines(l: { name: string; invariant: string }): string[] {
  return l.invariant === "" ? [l.name] : [l.name, l.invariant];
}

/// The ELK graph of a process: node `L<i>` per location i, edge `E<k>` per
/// edge k (whose source and target are named locations of the process).
export function processGraph(p: Process): ElkNode {
  const index = new Map(p.locations.map((l, i) => [l.name, i]));
  const node = (name: string) => {
    const i = index.get(name);
    if (i === undefined) throw new Error(`edge of ${p.name} names an unknown location '${name}'`);
    return `L${i}`;
  };
  const children: ElkNode[] = p.locations.map((l, i) => {
    const text = label(`L${i}.label`, locationLines(l));
    return { id: `L${i}`, width: Math.max(text.width + 16, 40), height: text.height + 14, labels: [text] };
  });
  const edges: ElkExtendedEdge[] = p.edges.map((e, k) => {
    const lines = edgeLines(e);
    return { id: `E${k}`, sources: [node(e.source)], targets: [node(e.target)], labels: lines.length ? [label(`E${k}.label`, lines)] : [] };
  });
  return {
    id: p.name,
    layoutOptions: {
      "elk.algorithm": "layered",
      "elk.direction": "RIGHT",
      "elk.spacing.nodeNode": "30",
      "elk.layered.spacing.nodeNodeBetweenLayers": "50",
      "elk.edgeLabels.placement": "CENTER",
      // room for several self-loops with their labels, nested, not stacked
      "elk.spacing.edgeEdge": "20",
      "elk.spacing.edgeLabel": "6",
      "elk.layered.spacing.edgeEdgeBetweenLayers": "20",
      "elk.spacing.nodeSelfLoop": "25",
      "elk.layered.edgeRouting.selfLoopDistribution": "EQUALLY",
    },
    children,
    edges,
  };
}

/// What the drawing marks besides the structure: the current location.
export interface Highlight {
  current?: number;
}

function escape(text: string): string {
  return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
}

function textLines(lines: string[], x: number, y: number, anchor: string): string {
  return lines
    .map((l, n) => `<text x="${x}" y="${y + (n + 1) * lineHeight - 3}" text-anchor="${anchor}">${escape(l)}</text>`)
    .join("");
}

/// SVG text of a laid-out process graph: a group per location (classes
/// initial, committed, urgent, current) and per edge (a path, an arrow head
/// and its label). Each group carries the index of its location or edge.
export function renderSvg(p: Process, laid: ElkNode, highlight: Highlight = {}): string {
  const parts: string[] = [];
  for (const n of laid.children ?? []) {
    const i = Number(n.id.slice(1));
    const l = p.locations[i];
    const classes = ["location", l.initial && "initial", l.committed && "committed", l.urgent && "urgent", highlight.current === i && "current"]
      .filter(Boolean)
      .join(" ");
    const x = n.x ?? 0;
    const y = n.y ?? 0;
    const w = n.width ?? 0;
    const h = n.height ?? 0;
    const mark = l.committed ? "C" : l.urgent ? "U" : "";
    parts.push(
      `<g class="${classes}" data-location="${i}">` +
        `<rect x="${x}" y="${y}" width="${w}" height="${h}" rx="12"/>` +
        (l.initial ? `<rect class="inner" x="${x + 3}" y="${y + 3}" width="${w - 6}" height="${h - 6}" rx="9"/>` : "") +
        (mark ? `<text class="mark" x="${x + w - 4}" y="${y - 3}" text-anchor="end">${mark}</text>` : "") +
        textLines(locationLines(l), x + w / 2, y + 7, "middle") +
        `</g>`,
    );
  }
  for (const e of (laid.edges ?? []) as ElkExtendedEdge[]) {
    const k = Number(e.id.slice(1));
    const points = (e.sections ?? []).flatMap((s) => [s.startPoint, ...(s.bendPoints ?? []), s.endPoint]);
    const d = points.map((pt, n) => `${n === 0 ? "M" : "L"}${pt.x},${pt.y}`).join(" ");
    const lbl = e.labels?.[0];
    parts.push(
      `<g class="edge" data-edge="${k}"><path d="${d}" marker-end="url(#arrow)"/>` +
        (lbl ? textLines(edgeLines(p.edges[k]), (lbl.x ?? 0) + 2, lbl.y ?? 0, "start") : "") +
        `</g>`,
    );
  }
  const width = (laid.width ?? 0) + 20;
  const height = (laid.height ?? 0) + 20;
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" class="automaton" width="${width}" height="${height}" viewBox="-10 -10 ${width} ${height}">` +
    `<defs><marker id="arrow" viewBox="0 0 10 10" refX="10" refY="5" markerUnits="userSpaceOnUse" markerWidth="9" markerHeight="9" orient="auto-start-reverse"><path d="M0,0 L10,5 L0,10 z"/></marker></defs>` +
    parts.join("") +
    `</svg>`
  );
}

/// Lays a process graph out with ELK (the bundled build, which runs in the
/// page without a worker).
export async function layoutProcess(p: Process): Promise<ElkNode> {
  const { default: ELK } = await import("elkjs/lib/elk.bundled.js");
  return new ELK().layout(processGraph(p));
}
