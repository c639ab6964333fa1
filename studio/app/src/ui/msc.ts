// A trace as a message-sequence chart: one lifeline per process, an arrow
// per synchronisation (from the sending to each receiving process), a box
// per internal edge; the zone of each step shows on hover.

import type { ModelDescription } from "../model/describe";
import type { PathStep } from "./path";

const column = 150;
const row = 44;
const top = 40;

function escape(text: string): string {
  return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;");
}

/// SVG text of the chart of `steps` (the first, the initial state, has no
/// move). `describeState` gives the hover text of a step's state.
export function mscSvg(model: ModelDescription, steps: PathStep[], describeState: (k: number) => string): string {
  const x = (p: number) => 70 + p * column;
  const height = top + row * steps.length + 20;
  const width = x(model.processes.length - 1) + 90;
  const parts: string[] = model.processes.map(
    (p, i) =>
      `<g class="lifeline"><text x="${x(i)}" y="20" text-anchor="middle">${escape(p.name)}</text>` +
      `<line x1="${x(i)}" y1="28" x2="${x(i)}" y2="${height - 10}"/></g>`,
  );
  steps.forEach((s, k) => {
    if (k === 0) return;
    const y = top + row * k;
    const edges = s.via.map((t) => ({ p: t.process, e: model.processes[t.process]?.edges[t.edge] }));
    const title = `<title>${escape(describeState(k))}</title>`;
    let body = "";
    if (edges.length === 1) {
      const { p, e } = edges[0];
      const text = e ? `${e.source} → ${e.target}` : "?";
      body = `<rect class="internal" x="${x(p) - 55}" y="${y - 12}" width="110" height="22" rx="4"/><text x="${x(p)}" y="${y + 3}" text-anchor="middle">${escape(text)}</text>`;
    } else {
      // the sender writes "!", the others receive; without marks the first sends
      const sender = edges.find((d) => d.e?.sync.trim().endsWith("!")) ?? edges[0];
      const channel = (sender.e?.sync ?? "").replace(/[!?]\s*$/, "").trim();
      for (const r of edges.filter((d) => d !== sender))
        body += `<line class="message" x1="${x(sender.p)}" y1="${y}" x2="${x(r.p)}" y2="${y}" marker-end="url(#msc-arrow)" data-from="${sender.p}" data-to="${r.p}"/>`;
      const mid = edges.reduce((m, d) => m + x(d.p), 0) / edges.length;
      body += `<text x="${mid}" y="${y - 5}" text-anchor="middle">${escape(channel)}</text>`;
    }
    parts.push(`<g class="step" data-step="${k}">${title}<rect class="hover" x="0" y="${y - row / 2}" width="${width}" height="${row}"/>${body}</g>`);
  });
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" class="msc" width="${width}" height="${height}">` +
    `<defs><marker id="msc-arrow" viewBox="0 0 10 10" refX="10" refY="5" markerUnits="userSpaceOnUse" markerWidth="9" markerHeight="9" orient="auto"><path d="M0,0 L10,5 L0,10 z"/></marker></defs>` +
    parts.join("") +
    `</svg>`
  );
}
