// The Studio in a real headless Chromium over the real bridge and server:
// the Fischer example drawn, every example's queries checked against their
// expected verdicts, a trace replayed step by step, a model opened from disk
// and saved back, a check cancelled and one stopped by the time limit, a
// broadcast move taken, a model error marked at its line. The tests run in
// order on one page, each going on from the last; the last one starts on a
// page of its own, as a newcomer would, with the train-gate example and its
// counterexample. A screenshot of each screen goes to studio/ in the build
// folder.
//
// Needs the built application (npm run build), the built server and
// verifier (ORVELA_SERVER, ORVELA_VERIFIER; default in the build folder
// ORVELA_BUILD_DIR, itself by default build/), the bridge (ORVELA_BRIDGE,
// default ../bridge/src/main.js) and Chromium (CHROMIUM, default
// /usr/bin/chromium).

import { spawn } from "node:child_process";
import { mkdirSync, readdirSync, readFileSync } from "node:fs";
import { dirname, resolve } from "node:path";
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const app = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const root = resolve(app, "../..");
const build = resolve(root, process.env.ORVELA_BUILD_DIR ?? "build");
const shots = resolve(build, "studio");
const bridgeMain = process.env.ORVELA_BRIDGE ?? resolve(app, "../bridge/src/main.js");

let bridge;
let browser;
let page;
let url;

/// Starts the bridge on a free port; resolves to the address it prints.
function startBridge() {
  // a short CPU limit, which the counter model below runs into
  const args = ["--port", "0", "--app", resolve(app, "dist"), "--cpu-seconds", "2"];
  args.push("--server", process.env.ORVELA_SERVER ?? resolve(build, "src/orvela-server"));
  args.push("--verifier", process.env.ORVELA_VERIFIER ?? resolve(build, "tools/orvela"));
  bridge = spawn(process.execPath, [bridgeMain, ...args], { stdio: ["ignore", "pipe", "inherit"] });
  return new Promise((resolveUrl, reject) => {
    let out = "";
    bridge.stdout.setEncoding("utf8").on("data", (t) => {
      out += t;
      const m = /ORVELA Studio at (http:\/\/127\.0\.0\.1:\d+\/)/.exec(out);
      if (m) resolveUrl(m[1]);
    });
    bridge.on("exit", (code) => reject(new Error(`bridge ended with status ${code} before it listened`)));
  });
}

const badges = () => page.$$eval("#verifier .badge", (bs) => bs.map((b) => b.textContent));
const currentLocations = () => page.$$eval("#automata svg", (svgs) => svgs.map((s) => s.querySelector("g.location.current text")?.textContent ?? null));

before(async () => {
  mkdirSync(shots, { recursive: true });
  url = await startBridge();
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run"],
  });
  page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  await page.goto(`${url}?example=fischer`);
  await page.waitForSelector("#automata svg");
});

after(async () => {
  await browser?.close();
  bridge?.kill();
});

test("the Fischer example is drawn, one automaton per process", async () => {
  assert.deepEqual(await page.$$eval(".process-title", (ts) => ts.map((t) => t.textContent)), ["P1", "P2", "P3"]);
  assert.deepEqual(await page.$$eval("#automata svg", (svgs) => svgs.map((s) => [s.querySelectorAll("g.location").length, s.querySelectorAll("g.edge path").length])), [
    [4, 5],
    [4, 5],
    [4, 5],
  ]);
  await page.screenshot({ path: resolve(shots, "automata.png") });
});

const expectedVerdicts = (name) =>
  readFileSync(resolve(root, `examples/${name}.expected`), "utf8")
    .split("\n")
    .filter((l) => l.trim() !== "")
    .map((l) => l.replace(/\s\s.*$/, ""));

// Every bundled example, Fischer last (the trace test goes on from it).
const names = readdirSync(resolve(root, "examples"))
  .filter((f) => f.endsWith(".expected"))
  .map((f) => f.replace(/\.expected$/, ""))
  .sort((a, b) => (a === "fischer") - (b === "fischer") || a.localeCompare(b));

test("every example: an automaton per process, every query with the expected verdict", async () => {
  for (const name of names) {
    await page.selectOption("#examples", name);
    const model = await (await fetch(`${url}api/describe`, { method: "POST", body: readFileSync(resolve(root, `examples/${name}.ta`)) })).json();
    const processes = model.model.processes.map((p) => p.name);
    await page.waitForFunction((n) => document.querySelectorAll("#automata svg").length === n && document.querySelector("#status").textContent === "model ok", processes.length);
    assert.deepEqual(await page.$$eval(".process-title", (ts) => ts.map((t) => t.textContent)), processes, name);
    const expected = expectedVerdicts(name);
    await page.click("#check-all");
    await page.waitForFunction((n) => [...document.querySelectorAll("#verifier .badge")].filter((b) => /satisfied|maybe|unknown/.test(b.textContent)).length === n, expected.length, { timeout: 60000 });
    assert.deepEqual(await badges(), expected, name);
  }
  await page.screenshot({ path: resolve(shots, "verifier.png") });
});

test("a trace opens in the simulator and the chart and steps forward", async () => {
  // E<> P1.wait and P2.wait and P3.wait: its trace ends with all three in wait
  const row = page.locator("#verifier li", { hasText: "E<> P1.wait and P2.wait and P3.wait" });
  await row.getByRole("button", { name: "Trace" }).click();
  await page.waitForSelector("svg.msc");
  const steps = await page.$$eval("#sim-path span", (s) => s.length);
  assert.ok(steps > 3, `a trace of ${steps - 1} steps`);
  assert.deepEqual(await currentLocations(), ["A", "A", "A"]);
  for (let k = 1; k < steps; k++) {
    await page.click("#sim-forward");
    await page.waitForSelector(`#sim-path span.current[data-k="${k}"]`);
    await page.waitForSelector(`svg.msc g.step.current[data-step="${k}"]`);
  }
  assert.deepEqual(await currentLocations(), ["wait", "wait", "wait"]);
  await page.screenshot({ path: resolve(shots, "trace.png") });
});

// Two counters up to 30000: far more states than two CPU seconds explore.
const counters = `int [0,30000] a;
int [0,30000] b;
process P { state s; init s; trans s -> s { guard a < 30000; assign a := a + 1; }, s -> s { guard b < 30000; assign b := b + 1; }; }
system P;
`;

test("a model opened from disk saves back as it was; its check is cancelled, then stops at the time limit", async () => {
  await page.setInputFiles("#open", [
    { name: "counters.ta", mimeType: "text/plain", buffer: Buffer.from(counters) },
    { name: "counters.q", mimeType: "text/plain", buffer: Buffer.from("A[] a >= 0\n") },
  ]);
  await page.waitForFunction(() => document.querySelectorAll("#automata svg").length === 1);
  const downloads = [];
  page.on("download", (d) => downloads.push(d));
  await page.click("#save");
  for (let i = 0; downloads.length < 2 && i < 100; i++) await new Promise((r) => setTimeout(r, 50));
  const saved = {};
  for (const d of downloads) saved[d.suggestedFilename()] = readFileSync(await d.path(), "utf8");
  assert.deepEqual(saved, { "counters.ta": counters, "counters.q": "A[] a >= 0\n" });

  // cancelled while it runs
  await page.click("#check-all");
  await page.waitForFunction(() => document.querySelector("#verifier .badge")?.textContent === "running…");
  await page.click("#cancel");
  await page.waitForFunction(() => /unknown/.test(document.querySelector("#verifier .badge")?.textContent ?? ""), null, { timeout: 30000 });
  assert.deepEqual(await badges(), ["unknown: cancelled"]);

  await page.click("#check-all");
  await page.waitForFunction(() => /unknown/.test(document.querySelector("#verifier .badge")?.textContent ?? ""), null, { timeout: 30000 });
  assert.deepEqual(await badges(), ["unknown: time limit"]);
  await page.screenshot({ path: resolve(shots, "time-limit.png") });

  // the next check runs on a fresh server
  await page.selectOption("#examples", "fischer");
  await page.locator("#verifier li", { hasText: "E<> P1.cs" }).first().getByRole("button", { name: "Check" }).click();
  await page.waitForFunction(() => [...document.querySelectorAll("#verifier .badge")].some((b) => b.textContent === "satisfied"), null, { timeout: 30000 });
});

test("a broadcast to several receivers is taken as one move", async () => {
  await page.selectOption("#examples", "broadcast");
  await page.waitForFunction(() => document.querySelector("#status").textContent === "model ok");
  await page.click("#sim-reset");
  const tick = page.locator("#sim-moves li", { hasText: "Ticker: run → run" });
  await tick.click();
  await page.waitForSelector('#sim-path span.current[data-k="1"]');
  // the sender's and both receivers' edges are drawn as taken
  assert.equal(await page.locator("#automata g.edge.taken").count(), 3);
});

test("a model error is marked at its line", async () => {
  await page.click(".cm-content");
  await page.keyboard.press("Control+End");
  await page.keyboard.type("\nwiat");
  await page.waitForSelector(".cm-lintRange-error");
  const lines = await page.$$eval(".cm-line", (ls) => ls.map((l) => l.textContent));
  const marked = await page.$eval(".cm-lintRange-error", (e) => e.closest(".cm-line").textContent);
  assert.equal(marked, "wiat");
  assert.equal(lines[lines.length - 1], "wiat");
  await page.screenshot({ path: resolve(shots, "error.png") });
});

test("a newcomer opens the address, picks the train-gate example, checks it and replays a counterexample", async () => {
  const fresh = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  const at = (p) => p.$$eval("#automata svg", (svgs) => svgs.map((s) => s.querySelector("g.location.current text")?.textContent ?? null));
  await fresh.goto(url);
  await fresh.selectOption("#examples", "traingate");
  await fresh.waitForFunction(() => document.querySelectorAll("#automata svg").length === 4 && document.querySelector("#status").textContent === "model ok");
  assert.deepEqual(await fresh.$$eval(".process-title", (ts) => ts.map((t) => t.textContent)), ["Train1", "Train2", "Train3", "Gate"]);

  const expected = expectedVerdicts("traingate");
  await fresh.click("#check-all");
  await fresh.waitForFunction((n) => [...document.querySelectorAll("#verifier .badge")].filter((b) => /satisfied|maybe|unknown/.test(b.textContent)).length === n, expected.length, { timeout: 60000 });
  assert.deepEqual(await fresh.$$eval("#verifier .badge", (bs) => bs.map((b) => b.textContent)), expected);

  // the counterexample of A[] Train1.Stop imply len >= 2, forward to its end and back
  await fresh.locator("#verifier li", { hasText: "A[] Train1.Stop imply len >= 2" }).getByRole("button", { name: "Trace" }).click();
  await fresh.waitForSelector("svg.msc");
  const steps = await fresh.$$eval("#sim-path span", (s) => s.length);
  const seen = [await at(fresh)];
  assert.deepEqual(seen[0], ["Safe", "Safe", "Safe", "Free"]);
  for (let k = 1; k < steps; k++) {
    await fresh.click("#sim-forward");
    await fresh.waitForSelector(`svg.msc g.step.current[data-step="${k}"]`);
    seen.push(await at(fresh));
  }
  assert.equal(seen[steps - 1][0], "Stop");
  const len = await fresh.$$eval("#sim-vars li", (ls) => ls.map((l) => l.textContent).find((t) => t.startsWith("len = ")));
  assert.ok(Number(len.slice(6)) < 2, `the last state breaks the property: ${len}`);
  // the synchronisations are arrows; every step's hover names the clocks' bounds
  assert.ok((await fresh.locator("svg.msc line.message").count()) > 0);
  const hovers = await fresh.$$eval("svg.msc g.step > title", (ts) => ts.map((t) => t.textContent));
  assert.equal(hovers.length, steps - 1);
  for (const h of hovers) assert.match(h, /Train1\.x/);
  await fresh.screenshot({ path: resolve(shots, "traingate.png") });
  for (let k = steps - 2; k >= 0; k--) {
    await fresh.click("#sim-back");
    await fresh.waitForSelector(`#sim-path span.current[data-k="${k}"]`);
    assert.deepEqual(await at(fresh), seen[k], `step ${k} going back`);
  }
  await fresh.close();
});
