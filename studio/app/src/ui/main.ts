// The page: the editor, the automata, the simulator, the verifier and the
// chart, over one server reached through the bridge.

import { ProtocolClient, type SystemNames } from "../protocol/client";
import { connectToBridge } from "../protocol/transport";
import { zoneText, type GlobalState, type Successor } from "../protocol/wire";
import { describeModel, type ModelDescription } from "../model/describe";
import { layoutProcess, renderSvg } from "../model/graph";
import { parseQueries } from "../model/queries";
import type { ElkNode } from "elkjs/lib/elk-api";
import { ModelEditor } from "./editor";
import { examples } from "./examples";
import { mscSvg } from "./msc";
import { SimulationPath } from "./path";
import { failureBadge, verdictBadge, type Badge } from "./verdict";

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;
const status = (text: string) => ($("status").textContent = text);

const client = new ProtocolClient(connectToBridge(window.location));

// --- the model: described for drawing, loaded into the server on demand

let model: ModelDescription | null = null;
let layouts: ElkNode[] = [];
let loading: { text: string; promise: Promise<SystemNames> } | null = null;
let names: SystemNames = { integers: [], clocks: [] };
let path: SimulationPath | null = null;

client.onBridgeError((message) => status(`bridge: ${message}`));
client.onRestarted(() => {
  loading = null; // the fresh server knows no system
  status("server restarted");
});

/// Makes the server hold the editor's model (traces kept for the verifier);
/// callers that come while it loads share the one load.
function ensureLoaded(): Promise<SystemNames> {
  const text = editor.text;
  if (loading?.text !== text) {
    const promise = client.setOptions({ trace: true }).then(() => client.newSystem(text));
    loading = { text, promise };
    promise.then(
      (n) => (names = n),
      () => loading?.promise === promise && (loading = null), // try again next time
    );
  }
  return loading!.promise;
}

let describeTimer: number | undefined;
let describeRun = 0;

async function redescribe(): Promise<void> {
  const run = ++describeRun;
  const text = editor.text;
  try {
    const result = await describeModel(text);
    if (run !== describeRun) return; // a later edit took over
    if (!result.ok) {
      editor.showMessages(result.errors);
      status(`${result.errors.length} error(s) in the model`);
      return;
    }
    editor.showMessages([]);
    model = result.model;
    layouts = await Promise.all(model.processes.map(layoutProcess));
    if (run !== describeRun) return;
    path = null;
    drawAutomata();
    drawSimulator();
    status("model ok");
  } catch (e) {
    status(`describe failed: ${(e as Error).message}`);
  }
}

const editor = new ModelEditor($("editor"), () => {
  for (const r of rows) Object.assign(r, { badge: null, ms: null, trace: null }); // verdicts of another model
  drawVerifier();
  status("reading the model…"); // the drawings are of the text before the edit
  clearTimeout(describeTimer);
  describeTimer = window.setTimeout(redescribe, 400);
});

// --- drawings

function drawAutomata(): void {
  const box = $("automata");
  if (!model) return void (box.innerHTML = "");
  const state = path?.current.state;
  const taken = path?.current.via ?? [];
  box.innerHTML = model.processes
    .map((p, i) => `<div class="process-title">${p.name}</div>` + renderSvg(p, layouts[i], { current: state?.locations[i] }))
    .join("");
  markEdges(taken, "taken", true);
}

/// Marks (or unmarks) the edges of a move on the drawings with a class:
/// "taken" for the move into the current state, "offered" for a move
/// pointed at.
function markEdges(transitions: Successor["transitions"], mark: "taken" | "offered", on: boolean): void {
  const svgs = $("automata").querySelectorAll("svg");
  for (const t of transitions) svgs[t.process]?.querySelector(`g.edge[data-edge="${t.edge}"]`)?.classList.toggle(mark, on);
}

function stateText(s: GlobalState): string {
  const vars = names.integers.map((n, i) => `${n} = ${s.integers[i]}`);
  return [...vars, ...zoneText(s.zone, names.clocks)].join("\n");
}

function drawChart(): void {
  const box = $("msc");
  if (!model || !path || path.length < 2) return void (box.innerHTML = "");
  const p = path;
  const steps = Array.from({ length: p.length }, (_, k) => p.step(k));
  box.innerHTML = mscSvg(model, steps, (k) => stateText(p.step(k).state));
  box.querySelector(`g.step[data-step="${p.position}"]`)?.classList.add("current");
  box.querySelectorAll<SVGGElement>("g.step").forEach((g) =>
    g.addEventListener("click", () => {
      p.go(Number(g.dataset.step));
      drawSimulator();
    }),
  );
}

// --- simulator

function moveText(m: { transitions: Successor["transitions"] }): string {
  return m.transitions
    .map((t) => {
      const proc = model?.processes[t.process];
      const e = proc?.edges[t.edge];
      if (!proc || !e) return `process ${t.process} edge ${t.edge}`;
      const label = [e.guard, e.sync, e.updates].filter(Boolean).join("; ");
      return `${proc.name}: ${e.source} → ${e.target}${label ? ` (${label})` : ""}`;
    })
    .join("  ‖  ");
}

let simRun = 0;

async function drawSimulator(): Promise<void> {
  drawAutomata();
  drawChart();
  const pathBox = $("sim-path");
  const moves = $("sim-moves");
  if (!path) {
    pathBox.textContent = "Press Reset to start from the initial state.";
    moves.innerHTML = "";
    $("sim-vars").innerHTML = "";
    $("sim-zone").innerHTML = "";
    return;
  }
  const p = path;
  pathBox.innerHTML = Array.from({ length: p.length }, (_, k) => `<span data-k="${k}" class="${k === p.position ? "current" : ""}">${k}</span>`).join("");
  pathBox.querySelectorAll("span").forEach((s) =>
    s.addEventListener("click", () => {
      p.go(Number(s.dataset.k));
      drawSimulator();
    }),
  );
  const s = p.current.state;
  $("sim-vars").innerHTML = names.integers.map((n, i) => `<li>${n} = ${s.integers[i]}</li>`).join("");
  $("sim-zone").innerHTML = zoneText(s.zone, names.clocks)
    .map((c) => `<li>${c}</li>`)
    .join("");
  const run = ++simRun;
  moves.innerHTML = "<li>…</li>";
  try {
    await ensureLoaded();
    const enabled = await client.getTransitions(s);
    if (run !== simRun) return;
    moves.innerHTML = "";
    if (enabled.length === 0) moves.innerHTML = "<li>(deadlock: no move is enabled)</li>";
    for (const m of enabled) {
      const li = document.createElement("li");
      li.textContent = moveText(m);
      li.addEventListener("click", () => takeMove(p, m));
      li.addEventListener("mouseenter", () => markEdges(m.transitions, "offered", true));
      li.addEventListener("mouseleave", () => markEdges(m.transitions, "offered", false));
      moves.append(li);
    }
  } catch (e) {
    if (run === simRun) moves.innerHTML = `<li>${(e as Error).message}</li>`;
  }
}

async function takeMove(p: SimulationPath, m: Successor): Promise<void> {
  // getSuccessor takes one transition or a pair; a broadcast to several
  // receivers is taken with the successor that getTransitions gave with it
  const next = m.transitions.length <= 2 ? (await client.getSuccessor(p.current.state, m.transitions))[0] : m.state;
  if (!next || path !== p) return;
  p.take(m.transitions, next);
  drawSimulator();
}

async function resetSimulator(): Promise<void> {
  await ensureLoaded();
  const initial = await client.getInitialState();
  if (!initial) return void status("the initial state violates its invariant");
  path = new SimulationPath(initial);
  drawSimulator();
}

// --- verifier

interface QueryRow {
  text: string;
  comment: string;
  badge: Badge | null;
  ms: number | null;
  trace: Successor[] | null;
}
let rows: QueryRow[] = [];
let checking = 0;
let cancelled = false; // set by the cancel button, ends a check-all run

function drawVerifier(): void {
  const list = $("verifier");
  list.innerHTML = "";
  rows.forEach((r, i) => {
    const li = document.createElement("li");
    const badge = r.badge ? `<span class="badge ${r.badge.kind}">${r.badge.text}</span>` : `<span class="badge">not checked</span>`;
    li.innerHTML = `${badge}<span class="query"></span><span class="stats">${r.ms === null ? "" : `${r.ms} ms`}${r.trace ? `, trace of ${r.trace.length} step${r.trace.length === 1 ? "" : "s"}` : ""}</span> `;
    li.querySelector(".query")!.textContent = r.text;
    li.title = r.comment; // the comment above the query in its file
    const check = document.createElement("button");
    check.textContent = "Check";
    check.addEventListener("click", () => checkRows([i]));
    li.append(check);
    if (r.trace) {
      const show = document.createElement("button");
      show.textContent = "Trace";
      show.addEventListener("click", () => showTrace(r.trace!));
      li.append(" ", show);
    }
    list.append(li);
  });
}

function readQueries(): void {
  const old = new Map(rows.map((r) => [r.text, r]));
  rows = parseQueries($<HTMLTextAreaElement>("queries").value).map((q) => old.get(q.text) ?? { text: q.text, comment: q.comment, badge: null, ms: null, trace: null });
  drawVerifier();
}

async function checkRows(indices: number[]): Promise<void> {
  if (checking++ === 0) cancelled = false;
  $<HTMLButtonElement>("cancel").disabled = false;
  try {
    for (const i of indices) {
      if (cancelled) break;
      const r = rows[i];
      r.badge = { kind: "unknown", text: "running…" };
      drawVerifier();
      const start = performance.now();
      try {
        await ensureLoaded();
        const result = await client.modelCheck(r.text);
        r.badge = verdictBadge(result);
        r.trace = result.trace?.steps ?? null;
      } catch (e) {
        r.badge = failureBadge(e);
        r.trace = null;
      }
      r.ms = Math.round(performance.now() - start);
      drawVerifier();
    }
  } finally {
    if (--checking === 0) $<HTMLButtonElement>("cancel").disabled = true;
  }
}

async function showTrace(steps: Successor[]): Promise<void> {
  await ensureLoaded();
  const initial = await client.getInitialState();
  if (!initial) return;
  path = new SimulationPath(initial, steps);
  drawSimulator();
}

// --- files and examples

function download(name: string, text: string): void {
  const a = document.createElement("a");
  a.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
  a.download = name;
  a.click();
  URL.revokeObjectURL(a.href);
}

let fileName = "model";

const select = $<HTMLSelectElement>("examples");

function openExample(name: string): void {
  const ex = examples.find((e) => e.name === name);
  if (!ex) return;
  fileName = ex.name;
  select.value = ex.name;
  editor.text = ex.model;
  $<HTMLTextAreaElement>("queries").value = ex.queries;
  rows = [];
  readQueries();
}

for (const ex of examples) select.append(new Option(ex.name, ex.name));
select.addEventListener("change", () => openExample(select.value));

$<HTMLInputElement>("open").addEventListener("change", async (e) => {
  for (const file of Array.from((e.target as HTMLInputElement).files ?? [])) {
    const text = await file.text();
    if (file.name.endsWith(".q")) {
      $<HTMLTextAreaElement>("queries").value = text;
      readQueries();
    } else {
      fileName = file.name.replace(/\.[^.]*$/, "");
      select.value = ""; // no longer an example
      editor.text = text;
    }
  }
});
$("save").addEventListener("click", () => {
  download(`${fileName}.ta`, editor.text);
  download(`${fileName}.q`, $<HTMLTextAreaElement>("queries").value);
});

$("queries").addEventListener("input", readQueries);
$("check-all").addEventListener("click", () => checkRows(rows.map((_, i) => i)));
$("cancel").addEventListener("click", () => {
  cancelled = true;
  client.cancel();
});
$("sim-reset").addEventListener("click", resetSimulator);
$("sim-back").addEventListener("click", () => {
  path?.go(path.position - 1);
  drawSimulator();
});
$("sim-forward").addEventListener("click", () => {
  path?.go(path.position + 1);
  drawSimulator();
});

openExample(new URLSearchParams(window.location.search).get("example") ?? "fischer");
