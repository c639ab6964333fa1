// The structure of a model as the bridge's describe endpoint answers it.

/// A location with its invariant text and its kind.
export interface Location {
  name: string;
  invariant: string;
  initial: boolean;
  committed: boolean;
  urgent: boolean;
}

/// An edge with its texts as the model wrote them.
export interface Edge {
  source: string;
  target: string;
  guard: string;
  sync: string;
  updates: string;
}

/// One process of the system line (an instance of a template).
export interface Process {
  name: string;
  locations: Location[];
  edges: Edge[];
}

/// The declarations and processes of a model.
export interface ModelDescription {
  clocks: string[];
  integers: string[];
  processes: Process[];
}

/// A parser message at its line and column (both from 1).
export interface ModelMessage {
  line: number;
  column: number;
  message: string;
}

/// The endpoint's answer: the model, or the parser's messages.
export type DescribeResult = { ok: true; model: ModelDescription } | { ok: false; errors: ModelMessage[] };

/// Asks the bridge to parse a model.
export async function describeModel(text: string, fetchFn: typeof fetch = fetch): Promise<DescribeResult> {
  const response = await fetchFn("/api/describe", { method: "POST", body: text, headers: { "Content-Type": "text/plain; charset=utf-8" } });
  const json = (await response.json()) as DescribeResult;
  if (typeof json !== "object" || json === null || typeof json.ok !== "boolean") throw new Error("describe answered no model");
  return json;
}
