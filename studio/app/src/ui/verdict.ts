// What the verifier panel's badge says for the outcome of one check.

import { FatalServerError, ServerError, ServerRestarted, type CheckResult } from "../protocol/client";

/// A badge: its class (satisfied, not-satisfied, maybe, unknown) and text.
export interface Badge {
  kind: "satisfied" | "not-satisfied" | "maybe" | "unknown";
  text: string;
}

/// The badge of a verdict.
export function verdictBadge(r: CheckResult): Badge {
  const kind = r.verdict === "not satisfied" ? "not-satisfied" : r.verdict;
  return { kind, text: r.verdict };
}

/// The badge of a check that failed: the limit that stopped the server, a
/// cancel, or the server's message (a property that does not parse).
export function failureBadge(e: unknown): Badge {
  const unknown = (why: string): Badge => ({ kind: "unknown", text: `unknown: ${why}` });
  if (e instanceof FatalServerError) return unknown(/memory/i.test(e.message) ? "memory limit" : e.message);
  if (e instanceof ServerRestarted) {
    if (!e.exit) return unknown("cancelled");
    if (e.exit.signal === "SIGXCPU" || e.exit.signal === "SIGKILL") return unknown("time limit");
    return unknown(`server ended (${e.exit.signal ?? `status ${e.exit.code}`})`);
  }
  if (e instanceof ServerError) return unknown(e.message.trim().replace(/\s*\n\s*/g, "; "));
  return unknown(e instanceof Error ? e.message : String(e));
}
