// Starting a program under a CPU-time and an address-space limit. The limits
// are set by prlimit (util-linux), which sets them on itself and then
// executes the program, so the child's process id is the program's own and
// killing it leaves nothing behind; no shell is involved.

import { spawn } from 'node:child_process';

/** Where prlimit is looked up; an absolute path keeps PATH out of it. */
export const prlimitPath = process.env.ORVELA_PRLIMIT ?? '/usr/bin/prlimit';

/**
 * Starts `program` with `args` under `limits` ({cpuSeconds, memoryMiB}):
 * past the CPU time the kernel ends it with SIGXCPU (a second later with
 * SIGKILL, should it survive), past the memory its allocations fail. No core
 * file is written. Answers the ChildProcess (standard streams piped).
 */
export function spawnLimited(program, args, limits) {
  const bytes = Math.floor(limits.memoryMiB * 1024 * 1024);
  const seconds = Math.max(1, Math.ceil(limits.cpuSeconds));
  const settings = [`--cpu=${seconds}:${seconds + 1}`, `--as=${bytes}`, '--core=0'];
  return spawn(prlimitPath, [...settings, '--', program, ...args], {
    stdio: ['pipe', 'pipe', 'pipe'],
  });
}
