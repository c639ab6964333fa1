// The simulator's path: the states visited from the initial state, the move
// that led to each, and the position the user is looking at.

import type { GlobalState, Successor, TransitionRef } from "../protocol/wire";

/// One state of the path and the transitions that led to it (none for the
/// first).
export interface PathStep {
  state: GlobalState;
  via: TransitionRef[];
}

/// A path that can be stepped back and forth; taking a move from an earlier
/// position drops the steps after it.
export class SimulationPath {
  private steps: PathStep[];
  private at = 0;

  constructor(initial: GlobalState, rest: Successor[] = []) {
    this.steps = [{ state: initial, via: [] }, ...rest.map((s) => ({ state: s.state, via: s.transitions }))];
  }

  get position(): number {
    return this.at;
  }
  get length(): number {
    return this.steps.length;
  }
  get current(): PathStep {
    return this.steps[this.at];
  }
  step(k: number): PathStep {
    return this.steps[k];
  }

  /// Moves to step k of the path (clamped to it).
  go(k: number): void {
    this.at = Math.max(0, Math.min(k, this.steps.length - 1));
  }

  /// Appends a move taken from the current step.
  take(via: TransitionRef[], state: GlobalState): void {
    this.steps.splice(this.at + 1, Infinity, { state, via });
    this.at++;
  }
}
