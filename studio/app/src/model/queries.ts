// Query files: one property per line; "//" starts a comment, and the comment
// lines just above a property describe it.

/// One property of a query file with the comment written above it.
export interface Query {
  text: string;
  comment: string;
  line: number;
}

/// The properties of a query file in order.
export function parseQueries(source: string): Query[] {
  const queries: Query[] = [];
  let comment: string[] = [];
  source.split("\n").forEach((raw, index) => {
    const line = raw.trim();
    if (line.startsWith("//")) comment.push(line.slice(2).trim());
    else if (line === "") comment = [];
    else {
      queries.push({ text: line, comment: comment.join(" "), line: index + 1 });
      comment = [];
    }
  });
  return queries;
}
