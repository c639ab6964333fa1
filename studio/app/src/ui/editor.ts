// The model editor: CodeMirror with the description language's highlighting
// and the parser's messages shown at their lines.

import { basicSetup, EditorView } from "codemirror";
import { lintGutter, setDiagnostics, type Diagnostic } from "@codemirror/lint";
import type { Text } from "@codemirror/state";
import { descriptionLanguage } from "./language";
import type { ModelMessage } from "../model/describe";

/// The document range of a message: from its column to the end of its line,
/// or the whole line when the column is at or past its end (an empty range
/// would not be drawn); clamped to the document, as a message about a
/// missing end may point past the last line.
export function messageRange(doc: Text, m: ModelMessage): { from: number; to: number } {
  const line = doc.line(Math.min(Math.max(m.line, 1), doc.lines));
  const from = line.from + Math.max(m.column - 1, 0);
  return { from: from < line.to ? from : line.from, to: line.to };
}

/// An editor in `parent` that calls `onChange` with the text after each edit.
export class ModelEditor {
  readonly view: EditorView;

  constructor(parent: HTMLElement, onChange: (text: string) => void) {
    this.view = new EditorView({
      parent,
      extensions: [basicSetup, descriptionLanguage, lintGutter(), EditorView.updateListener.of((u) => u.docChanged && onChange(this.text))],
    });
  }

  get text(): string {
    return this.view.state.doc.toString();
  }

  /// Replaces the whole text (an example or an opened file).
  set text(value: string) {
    this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: value } });
  }

  /// Shows the parser's messages at their lines; none clears them.
  showMessages(messages: ModelMessage[]): void {
    const doc = this.view.state.doc;
    const diagnostics: Diagnostic[] = messages.map((m) => ({ ...messageRange(doc, m), severity: "error", message: m.message }));
    this.view.dispatch(setDiagnostics(this.view.state, diagnostics));
  }
}
