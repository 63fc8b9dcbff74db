// A conversion run from the page's side. The worker converts ahead and sends results in
// batches; the page takes them in once per frame, so that thousands of files cost the page a
// few updates a second. Stop ends the run at once: what the worker sends after it is dropped,
// and nothing of it reaches the list or a save. Convert's end at the first file that fails is
// the worker's to decide.

export class ConversionRun {
  // `onResult(row, result)` for each file's result and `onProgress(done, total)` after them,
  // once a frame while results come in; `onEnd(stopped, broken)` once the run is over, after
  // every result it kept is in its row; `broken` when the worker could not convert at all (its
  // engine did not load).
  constructor(worker, { onResult, onProgress, onEnd }) {
    this.worker = worker;
    this.handlers = { onResult, onProgress, onEnd };
    this.rows = null;
    this.runId = 0;
    this.arrived = [];
    this.over = false;
    this.frameRequested = false;
    worker.addEventListener("message", (event) => this.received(event.data));
    worker.addEventListener("error", () => {
      if (this.running) this.end(false, true);
    });
  }

  get running() {
    return this.rows !== null;
  }

  start(rows, { stopAtFailure }) {
    this.runId += 1;
    this.rows = rows;
    this.done = 0;
    this.arrived = [];
    this.over = false;
    this.startedAt = performance.now();
    this.handlers.onProgress(0, rows.length);
    this.worker.postMessage({
      type: "run",
      runId: this.runId,
      stopAtFailure,
      files: rows.map((row, index) => ({ index, file: row.file, size: row.size })),
    });
  }

  // Keeps what arrived before the click, and nothing after it.
  stop() {
    if (!this.running) return;
    this.worker.postMessage({ type: "stop" });
    this.apply();
    this.end(true, false);
  }

  received(message) {
    if (message.runId !== this.runId || !this.running) return;
    if (message.type === "broken") {
      this.end(false, true);
      return;
    }
    this.arrived.push(...message.results);
    this.over = message.over;
    this.requestFrame();
  }

  // The next frame, or a moment later where the page is hidden and draws no frames.
  requestFrame() {
    if (this.frameRequested) return;
    this.frameRequested = true;
    const runId = this.runId;
    const once = () => {
      if (!this.frameRequested || runId !== this.runId) return;
      this.frameRequested = false;
      this.frame();
    };
    requestAnimationFrame(once);
    setTimeout(once, 250);
  }

  frame() {
    if (!this.running) return;
    this.apply();
    if (this.over) this.end(false, false);
  }

  apply() {
    for (const { index, result, outputName, jpeg, crc } of this.arrived) {
      const row = this.rows[index];
      this.handlers.onResult(row, { result, outputName, jpeg, crc });
      this.done += 1;
    }
    this.arrived = [];
    this.handlers.onProgress(this.done, this.rows.length);
  }

  end(stopped, broken) {
    this.rows = null;
    this.frameRequested = false;
    this.arrived = [];
    this.lastRunMilliseconds = performance.now() - this.startedAt;
    this.handlers.onEnd(stopped, broken);
  }
}
