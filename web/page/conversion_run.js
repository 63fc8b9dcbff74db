// A conversion run from the page's side. The worker converts one file at a time and waits for
// the page to say whether the next one follows, so that the page decides as the window
// program's run does: a click on Stop ends the run before the next file, the file under way is
// finished, and Convert goes no further than the first file that fails.

export class ConversionRun {
  // `onStart(row, position, total)` before each file, `onResult(row)` after it and
  // `onEnd(stopped, broken)` once the run is over; `broken` when the worker could not convert
  // at all (its engine did not load).
  constructor(worker, { onStart, onResult, onEnd }) {
    this.worker = worker;
    this.handlers = { onStart, onResult, onEnd };
    this.rows = null;
    this.runId = 0;
    worker.addEventListener("message", (event) => this.received(event.data));
    worker.addEventListener("error", () => {
      if (this.running) this.end(true);
    });
  }

  get running() {
    return this.rows !== null;
  }

  start(rows, { stopAtFailure }) {
    this.runId += 1;
    this.rows = rows;
    this.stopAtFailure = stopAtFailure;
    this.stopRequested = false;
    this.startedAt = performance.now();
    this.handlers.onStart(rows[0], 1, rows.length);
    this.worker.postMessage({
      type: "run",
      runId: this.runId,
      files: rows.map((row, index) => ({ index, file: row.file })),
    });
  }

  // Only asks: the run looks at the request before the next file.
  stop() {
    if (this.running) this.stopRequested = true;
  }

  received(message) {
    if (message.runId !== this.runId || !this.running) return;
    if (message.type === "broken") {
      this.end(true);
      return;
    }
    const row = this.rows[message.index];
    row.result = message.result;
    row.jpeg = message.jpeg ? new Uint8Array(message.jpeg) : null;
    row.outputName = message.outputName;
    row.saveNote = null;
    const next = message.index + 1;
    const last = next === this.rows.length;
    const failedHere = this.stopAtFailure && !row.jpeg;
    if (!last) {
      const goOn = !this.stopRequested && !failedHere;
      this.worker.postMessage({ type: goOn ? "next" : "halt" });
      if (goOn) this.handlers.onStart(this.rows[next], next + 1, this.rows.length);
    }
    this.handlers.onResult(row);
    if (last || this.stopRequested || failedHere) this.end();
  }

  end(broken = false) {
    this.rows = null;
    this.lastRunMilliseconds = performance.now() - this.startedAt;
    this.handlers.onEnd(this.stopRequested, broken);
  }
}
