import { describe, expect, it } from "vitest";
import { WebSocketTransport, type SocketLike } from "./transport";

/// A socket whose far end is the test.
function socket() {
  const sent: string[] = [];
  const listeners: Record<string, ((e: { data: unknown }) => void)[]> = {};
  const s: SocketLike = {
    send: (d) => sent.push(d),
    addEventListener: (type: string, l: (e: { data: unknown }) => void) => (listeners[type] ??= []).push(l),
  };
  const receive = (data: string) => listeners.message.forEach((l) => l({ data }));
  return { s, sent, receive, close: () => listeners.close.forEach((l) => l({ data: null })) };
}

describe("WebSocket transport", () => {
  it("sends the bridge's messages, in order, once the socket is open", async () => {
    const { s, sent } = socket();
    let open!: () => void;
    const t = new WebSocketTransport(s, new Promise((r) => (open = r)));
    t.send("newSystem\n");
    t.cancel();
    expect(sent).toEqual([]);
    open();
    await Promise.resolve();
    t.send('a "quoted"\n');
    expect(sent.map((m) => JSON.parse(m))).toEqual([{ type: "send", text: "newSystem\n" }, { type: "cancel" }, { type: "send", text: 'a "quoted"\n' }]);
  });

  it("reports the socket's close", () => {
    const { s, close } = socket();
    const t = new WebSocketTransport(s, Promise.resolve());
    let closed = 0;
    t.listen({ data() {}, restarted() {}, exit() {}, error() {}, closed: () => closed++ });
    close();
    expect(closed).toBe(1);
  });

  it.each([
    ['{"type":"data","text":"ok\\n."}', ["data", "ok\n."]],
    ['{"type":"restarted"}', ["restarted"]],
    ['{"type":"exit","code":null,"signal":"SIGXCPU"}', ["exit", null, "SIGXCPU"]],
    ['{"type":"exit","code":1,"signal":null}', ["exit", 1, null]],
    ['{"type":"error","message":"malformed message"}', ["error", "malformed message"]],
    ["not json", ["error", "bridge sent a frame that is not JSON"]],
    ['{"type":"data"}', ["error", 'bridge sent a message of unknown form: {"type":"data"}']],
  ])("%s becomes %j", (frame, event) => {
    const { s, receive } = socket();
    const t = new WebSocketTransport(s, Promise.resolve());
    const events: unknown[][] = [];
    t.listen({
      data: (text) => events.push(["data", text]),
      restarted: () => events.push(["restarted"]),
      exit: (code, signal) => events.push(["exit", code, signal]),
      error: (message) => events.push(["error", message]),
      closed: () => events.push(["closed"]),
    });
    receive(frame);
    expect(events).toEqual([event]);
  });
});
