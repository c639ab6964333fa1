// Highlighting of the system-description language: keywords, numbers,
// comments and operators, as a CodeMirror stream language.

import { StreamLanguage, type StreamParser } from "@codemirror/language";

/// The reserved words of the description language.
export const keywords = new Set([
  "process", "state", "init", "trans", "guard", "sync", "assign", "clock", "int", "chan", "const",
  "urgent", "commit", "broadcast", "system",
]);

/// Token styles of one line; the state carries an open block comment.
const parser: StreamParser<{ inComment: boolean }> = {
  startState: () => ({ inComment: false }),
  token(stream, state) {
    if (state.inComment) {
      if (stream.skipTo("*/")) {
        stream.match("*/");
        state.inComment = false;
      } else stream.skipToEnd();
      return "comment";
    }
    if (stream.eatSpace()) return null;
    if (stream.match("//")) {
      stream.skipToEnd();
      return "comment";
    }
    if (stream.match("/*")) {
      state.inComment = true;
      return "comment";
    }
    if (stream.match(/^\d+/)) return "number";
    if (stream.match(/^[A-Za-z_][A-Za-z0-9_]*/)) return keywords.has(stream.current()) ? "keyword" : "variableName";
    if (stream.match(/^(->|:=|<=|>=|==|!=|&&|\|\||[-+*/%<>!?=&|])/)) return "operator";
    stream.next();
    return null;
  },
};

/// The language support for the editor.
export const descriptionLanguage = StreamLanguage.define(parser);
