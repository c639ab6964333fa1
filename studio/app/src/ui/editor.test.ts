import { Text } from "@codemirror/state";
import { describe, expect, it } from "vitest";
import { messageRange } from "./editor";

const doc = Text.of(["int n;", "proces P { }", "wiat"]);
const at = (line: number, column: number) => {
  const r = messageRange(doc, { line, column, message: "" });
  return doc.sliceString(r.from, r.to);
};

describe("a parser message in the editor", () => {
  it.each([
    [2, 1, "proces P { }"],
    [2, 8, "P { }"],
    [3, 5, "wiat"], // just past the end of the line
    [3, 40, "wiat"],
    [9, 1, "wiat"], // past the last line
    [1, 0, "int n;"],
  ])("line %i column %i marks '%s'", (line, column, text) => {
    expect(at(line, column)).toBe(text);
  });
});
