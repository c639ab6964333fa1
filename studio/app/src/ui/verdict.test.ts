import { describe, expect, it } from "vitest";
import { FatalServerError, ServerError, ServerRestarted } from "../protocol/client";
import { failureBadge } from "./verdict";

describe("badge of a failed check", () => {
  it.each([
    [new ServerRestarted({ code: null, signal: "SIGXCPU" }), "unknown: time limit"],
    [new ServerRestarted({ code: null, signal: "SIGKILL" }), "unknown: time limit"],
    [new FatalServerError("Memory allocation failed !!"), "unknown: memory limit"],
    [new ServerRestarted(null), "unknown: cancelled"],
    [new ServerRestarted({ code: 139, signal: null }), "unknown: server ended (status 139)"],
    [new ServerError("Bad property\n"), "unknown: Bad property"],
  ])("%s", (error, text) => {
    expect(failureBadge(error)).toEqual({ kind: "unknown", text });
  });
});
