// A conversion run from the page's side: hands the files to the worker, follows its progress
// and takes each result as it comes. The worker converts; the page only shows.

export class ConversionRun {
  // `onStart(row, position, total)`, `onResult(row)` and `onEnd(stopped)` follow the run.
  constructor(worker, { onStart, onResult, onEnd }) {
    this.worker = worker;
    this.handlers = { onStart, onResult, onEnd };
    this.rows = null;
    this.runId = 0;
    worker.addEventListener("message", (event) => this.received(event.data));
  }

  get running() {
    return this.rows !== null;
  }

  // Convert goes no further than the first file that fails; Convert All tries every file.
  start(rows, { stopAtFailure }) {
    this.runId += 1;
    this.rows = rows;
    this.startedAt = performance.now();
    this.worker.postMessage({
      type: "run",
      runId: this.runId,
      stopAtFailure,
      files: rows.map((row, index) => ({ index, file: row.file })),
    });
  }

  // Takes effect before the next file; the file under way is finished.
  stop() {
    if (this.running) this.worker.postMessage({ type: "stop" });
  }

  received(message) {
    if (message.runId !== this.runId || !this.running) return;
    const row = this.rows[message.index];
    switch (message.type) {
      case "start":
        this.handlers.onStart(row, message.index + 1, this.rows.length);
        break;
      case "result":
        row.result = message.result;
        row.jpeg = message.jpeg ? new Uint8Array(message.jpeg) : null;
        row.outputName = message.outputName;
        row.saveNote = null;
        this.handlers.onResult(row);
        break;
      case "end":
        this.rows = null;
        this.lastRunMilliseconds = performance.now() - this.startedAt;
        this.handlers.onEnd(message.stopped);
        break;
    }
  }
}
