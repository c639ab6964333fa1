// The repository's examples, bundled at build time: each model with its
// query file.

const models = import.meta.glob("../../../../examples/*.ta", { query: "?raw", import: "default", eager: true }) as Record<string, string>;
const queries = import.meta.glob("../../../../examples/*.q", { query: "?raw", import: "default", eager: true }) as Record<string, string>;

/// A bundled example.
export interface Example {
  name: string;
  model: string;
  queries: string;
}

/// Every example with its queries (empty when it has no query file).
export const examples: Example[] = Object.entries(models)
  .map(([path, model]) => {
    const name = path.replace(/^.*\/(.*)\.ta$/, "$1");
    return { name, model, queries: queries[path.replace(/\.ta$/, ".q")] ?? "" };
  })
  .sort((a, b) => a.name.localeCompare(b.name));
