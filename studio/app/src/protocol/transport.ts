// The raw stream between the application and one server process, and its
// WebSocket form: the bridge relays text to the server's standard input and
// its standard output back, and restarts the server when asked or when it
// ends.

/// What a transport reports to its client.
export interface TransportEvents {
  /// Raw output of the server, in order, in chunks of any size.
  data(text: string): void;
  /// The server ended by itself (a time or memory limit, a crash).
  exit(code: number | null, signal: string | null): void;
  /// A fresh server runs; it greets again and knows no system.
  restarted(): void;
  /// The bridge rejected a message or sent one of unknown form; the
  /// server goes on.
  error(message: string): void;
  /// The connection is gone, and the server with it.
  closed(): void;
}

/// A raw text stream to a server process.
export interface Transport {
  /// Writes text as-is to the server's standard input.
  send(text: string): void;
  /// Kills the server and starts a fresh one; `restarted` follows.
  cancel(): void;
  /// Installs the receiver of the transport's events (one at a time).
  listen(events: TransportEvents): void;
}

/// The part of the browser's WebSocket that the transport needs.
export interface SocketLike {
  send(data: string): void;
  addEventListener(type: "message", listener: (e: { data: unknown }) => void): void;
  addEventListener(type: "close" | "error", listener: () => void): void;
}

/// A transport over the bridge's WebSocket (JSON text frames).
export class WebSocketTransport implements Transport {
  private events: TransportEvents | null = null;
  private readonly pending: string[] = [];
  private open = false;

  /// Takes a socket that may still be connecting; messages sent before it
  /// opens are queued.
  constructor(
    private readonly socket: SocketLike,
    opened: Promise<void>,
  ) {
    socket.addEventListener("message", (e) => this.receive(e.data));
    socket.addEventListener("close", () => this.events?.closed());
    opened.then(() => {
      this.open = true;
      for (const m of this.pending.splice(0)) socket.send(m);
    });
  }

  send(text: string): void {
    this.post({ type: "send", text });
  }

  cancel(): void {
    this.post({ type: "cancel" });
  }

  listen(events: TransportEvents): void {
    this.events = events;
  }

  private post(message: object): void {
    const text = JSON.stringify(message);
    if (this.open) this.socket.send(text);
    else this.pending.push(text);
  }

  private receive(raw: unknown): void {
    const events = this.events;
    if (!events) return;
    let m: { type?: unknown; text?: unknown; code?: unknown; signal?: unknown; message?: unknown };
    try {
      m = JSON.parse(String(raw));
    } catch {
      events.error(`bridge sent a frame that is not JSON`);
      return;
    }
    if (m.type === "data" && typeof m.text === "string") events.data(m.text);
    else if (m.type === "restarted") events.restarted();
    else if (m.type === "exit")
      events.exit(typeof m.code === "number" ? m.code : null, typeof m.signal === "string" ? m.signal : null);
    else if (m.type === "error") events.error(String(m.message ?? "bridge error"));
    else events.error(`bridge sent a message of unknown form: ${String(raw).slice(0, 80)}`);
  }
}

/// Opens the bridge's WebSocket at `/ws` of the page's own origin.
export function connectToBridge(location: { host: string; protocol: string }): WebSocketTransport {
  const scheme = location.protocol === "https:" ? "wss:" : "ws:";
  const socket = new WebSocket(`${scheme}//${location.host}/ws`);
  const opened = new Promise<void>((resolve) => socket.addEventListener("open", () => resolve()));
  return new WebSocketTransport(socket, opened);
}
